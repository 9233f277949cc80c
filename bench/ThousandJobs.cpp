#include "ThousandJobs.h"

#include "ClientSession.h"
#include "FigureTable.h"
#include "JobDialogs.h"
#include "ProcessSample.h"
#include "XServerWatch.h"

#include "ClientHarness.h"
#include "ProcessProbe.h"

#include <cstdio>

namespace {

struct Checkpoint
{
    double rssMb = 0;
    double descriptors = 0;
};

// Descriptors are counted as in the dialog soak (ProcessProbe::lastingDescriptors).
Checkpoint checkpoint(pid_t pid)
{
    const ProcessProbe probe(pid);
    return {ProcessSample::read(pid).rssKb / 1024.0, double(probe.lastingDescriptors())};
}

// One whole job: the cost dialog accepted, the progress window, the confirmation closed. The
// sum of the four dialog steps goes to dialogMs.
bool wholeJob(XServerWatch &watch, const JobDialogs::Link &link, int number, double &dialogMs,
              QString &error)
{
    JobDialogs::Timing cost;
    JobDialogs::Timing confirmation;
    const QByteArray confirmationText = JobDialogs::confirmationText(number, true);
    if (!JobDialogs::answerDialog(watch, link, JobDialogs::CostText, JobDialogs::CostTitle, "5|",
                                  cost, error) ||
        !JobDialogs::exchange(link, JobDialogs::ProgressText, "80|", error) ||
        !JobDialogs::answerDialog(watch, link, confirmationText.constData(),
                                  JobDialogs::ConfirmationTitle, "86|", confirmation, error)) {
        error = QStringLiteral("job %1: %2").arg(number).arg(error);
        return false;
    }
    dialogMs = cost.toDialogMs + cost.answerMs + confirmation.toDialogMs + confirmation.answerMs;
    return true;
}

} // namespace

ThousandJobs::ThousandJobs(const QString &address, int runs, int jobs, int floorDialogs)
    : m_address(address)
    , m_runs(runs)
    , m_jobs(jobs)
    , m_floorDialogs(floorDialogs)
{}

bool ThousandJobs::measure(FigureTable &table)
{
    ClientHarness harness(m_address);
    XServerWatch watch;
    if (!JobDialogs::startXWorld(harness, watch, m_error))
        return false;
    const QProcessEnvironment environment = harness.clientEnvironment();
    // Memory and descriptors are compared from here on: the first jobs fill the caches.
    const int settled = std::min(100, m_jobs / 2);
    QList<double> perJobMs;
    QList<double> floorMs;
    QList<double> rssMb[2]; // [0] after the settled jobs, [1] at the end
    QList<double> descriptors[2];
    bool inOrder = true;
    for (int run = 0; run < m_runs && inOrder; ++run) {
        std::fprintf(stderr, "  %d whole jobs, run %d of %d\n", m_jobs, run + 1, m_runs);
        ClientSession client(harness, m_address, true);
        if (!client.start()) {
            m_error = QStringLiteral("client start: %1").arg(client.errorText());
            return false;
        }
        const JobDialogs::Link link{client.connection(), client.reader()};
        const std::uint64_t started = nul_now_ns();
        double dialogMs = 0;
        for (int job = 1; job <= m_jobs && inOrder; ++job) {
            inOrder = wholeJob(watch, link, job, dialogMs, m_error);
            if (job == settled) {
                const Checkpoint early = checkpoint(client.pid());
                rssMb[0].append(early.rssMb);
                descriptors[0].append(early.descriptors);
            }
        }
        if (!inOrder) {
            std::fprintf(stderr, "  %s\n", qPrintable(m_error));
            break;
        }
        perJobMs.append(double(nul_now_ns() - started) / 1e6 / m_jobs);
        const Checkpoint end = checkpoint(client.pid());
        rssMb[1].append(end.rssMb);
        descriptors[1].append(end.descriptors);
        if (!client.stop()) {
            m_error = QStringLiteral("client stop: %1").arg(client.errorText());
            return false;
        }

        // The floor: the bare program's four dialog steps of a job, each the median of its
        // dialogs, summed.
        JobDialogs::BareProgram bare;
        if (!bare.start(m_address, environment, m_error))
            return false;
        QList<double> bareJobMs;
        for (int job = 1; job <= m_floorDialogs; ++job) {
            if (!wholeJob(watch, bare.link(), job, dialogMs, m_error))
                return false;
            bareJobMs.append(dialogMs);
        }
        floorMs.append(FigureTable::median(bareJobMs));
    }

    FigureTable::Row time{
        QStringLiteral("%1 whole jobs on one connection: time per job").arg(m_jobs),
        QStringLiteral("ms"), perJobMs, QStringLiteral("bare dialog steps summed"), floorMs};
    time.otherTarget = QStringLiteral("every reply, in order");
    time.otherMet = inOrder;
    table.add(time);
    FigureTable::Row memory{QStringLiteral("%1 whole jobs: VmRSS at the end").arg(m_jobs),
                            QStringLiteral("MiB"), rssMb[1],
                            QStringLiteral("VmRSS after job %1").arg(settled), rssMb[0]};
    memory.maxExcess = 1;
    table.add(memory);
    FigureTable::Row fds{QStringLiteral("%1 whole jobs: descriptors at the end").arg(m_jobs),
                         QString(), descriptors[1], QStringLiteral("after job %1").arg(settled),
                         descriptors[0]};
    fds.maxExcess = 0;
    table.add(fds);
    return true;
}
