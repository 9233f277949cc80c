#include "DialogLatency.h"

#include "ClientSession.h"
#include "FigureTable.h"
#include "JobDialogs.h"
#include "XServerWatch.h"

#include "ClientHarness.h"

#include <cstdio>
#include <vector>

namespace {

struct Quantiles
{
    QList<double> p50;
    QList<double> p99;

    void add(std::vector<double> values)
    {
        std::sort(values.begin(), values.end());
        const auto rank = [&](double q) {
            return values[std::min(values.size() - 1, std::size_t(q * double(values.size())))];
        };
        p50.append(rank(0.5));
        p99.append(rank(0.99));
    }
};

// The cost dialog answered count times on link, after one untimed dialog (the bare program
// loads its fonts and pictures there, the client at its start); between two jobs the
// confirmation without a dialog hides the progress window the accepted job showed.
bool answerCostDialogs(XServerWatch &watch, const JobDialogs::Link &link, int count,
                       Quantiles &toDialog, Quantiles &answer, QString &error)
{
    std::vector<double> toDialogMs;
    std::vector<double> answerMs;
    for (int i = 0; i <= count; ++i) {
        JobDialogs::Timing timing;
        if (!JobDialogs::answerDialog(watch, link, JobDialogs::CostText, JobDialogs::CostTitle,
                                      "5|", timing, error) ||
            !JobDialogs::exchange(link, JobDialogs::confirmationText(i + 1, false).constData(),
                                  "86|", error))
            return false;
        if (i == 0)
            continue;
        toDialogMs.push_back(timing.toDialogMs);
        answerMs.push_back(timing.answerMs);
    }
    toDialog.add(toDialogMs);
    answer.add(answerMs);
    return true;
}

} // namespace

DialogLatency::DialogLatency(const QString &address, int runs, int dialogs)
    : m_address(address)
    , m_runs(runs)
    , m_dialogs(dialogs)
{}

bool DialogLatency::measure(FigureTable &table)
{
    ClientHarness harness(m_address);
    XServerWatch watch;
    if (!JobDialogs::startXWorld(harness, watch, m_error))
        return false;
    const QProcessEnvironment environment = harness.clientEnvironment();
    Quantiles toDialog[2]; // [0] the client, [1] the bare program
    Quantiles answer[2];
    for (int run = 0; run < m_runs; ++run) {
        std::fprintf(stderr, "  job to dialog and answer to reply, run %d of %d\n", run + 1,
                     m_runs);
        ClientSession client(harness, m_address, true);
        if (!client.start()) {
            m_error = QStringLiteral("client start: %1").arg(client.errorText());
            return false;
        }
        if (!answerCostDialogs(watch, {client.connection(), client.reader()}, m_dialogs,
                               toDialog[0], answer[0], m_error))
            return false;
        if (!client.stop()) {
            m_error = QStringLiteral("client stop: %1").arg(client.errorText());
            return false;
        }
        JobDialogs::BareProgram bare;
        if (!bare.start(m_address, environment, m_error) ||
            !answerCostDialogs(watch, bare.link(), m_dialogs, toDialog[1], answer[1], m_error))
            return false;
    }

    const QString count = QString::number(m_dialogs);
    FigureTable::Row mapped{
        QStringLiteral("job text to cost dialog mapped p50, %1 dialogs").arg(count),
        QStringLiteral("ms"), toDialog[0].p50, QStringLiteral("bare dialog p50"), toDialog[1].p50};
    mapped.maxRatio = 1.5;
    table.add(mapped);
    table.add({QStringLiteral("job text to cost dialog mapped p99"), QStringLiteral("ms"),
               toDialog[0].p99, QStringLiteral("bare dialog p99"), toDialog[1].p99});
    FigureTable::Row replied{QStringLiteral("Return in cost dialog to reply p50"),
                             QStringLiteral("ms"), answer[0].p50, QStringLiteral("bare dialog p50"),
                             answer[1].p50};
    replied.maxRatio = 2;
    table.add(replied);
    table.add({QStringLiteral("Return in cost dialog to reply p99"), QStringLiteral("ms"),
               answer[0].p99, QStringLiteral("bare dialog p99"), answer[1].p99});
    return true;
}
