#include "SpoolerSteps.h"

#include "FigureTable.h"
#include "PrivateCupsd.h"
#include "printers/CupsPrinterConnector.h"

#include <cups/cups.h>

#include <chrono>
#include <thread>

namespace {

const char *const QueueNames[2] = {"bench_a", "bench_b"};

double millisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// The user's default queue as lpoptions and the scheduler give it, read with libcups alone.
QString defaultQueue()
{
    cups_dest_t *dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    const cups_dest_t *dest = cupsGetDest(nullptr, nullptr, count, dests);
    const QString name = dest ? QString::fromUtf8(dest->name) : QString();
    cupsFreeDests(count, dests);
    return name;
}

// The floor of a default-printer change: read the destinations, mark one, write lpoptions.
bool setDefaultQueueDirectly(const char *name)
{
    cups_dest_t *dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    bool found = false;
    for (int i = 0; i < count; ++i) {
        dests[i].is_default = qstrcmp(dests[i].name, name) == 0 && !dests[i].instance;
        found = found || dests[i].is_default;
    }
    const bool written = found && cupsSetDests2(CUPS_HTTP_DEFAULT, count, dests) == 0;
    cupsFreeDests(count, dests);
    return written;
}

} // namespace

SpoolerSteps::SpoolerSteps(PrivateCupsd &cupsd, QString expectedAddress, int runs, int repetitions)
    : m_cupsd(cupsd)
    , m_expectedAddress(std::move(expectedAddress))
    , m_runs(runs)
    , m_repetitions(repetitions)
{}

bool SpoolerSteps::fail(const QString &what)
{
    m_error = what;
    return false;
}

bool SpoolerSteps::measure(FigureTable &table)
{
    // libcups reads the scheduler and the home folder (lpoptions) from the environment of
    // the calling thread, and the connector's steps run on threads of their own.
    m_cupsd.exportEnvironment();
    for (const char *name : QueueNames) {
        if (!m_cupsd.addQueue(QString::fromLatin1(name),
                              QStringLiteral("ipp://127.0.0.1:9/printers/%1").arg(name),
                              QStringLiteral("bench queue")))
            return fail(m_cupsd.errorText());
    }
    QList<double> lookupMs[2];
    QList<double> changeMs[2];
    for (int run = 0; run < m_runs; ++run) {
        if (!measureLookups(lookupMs[0], lookupMs[1]) ||
            !measureDefaultChanges(changeMs[0], changeMs[1]))
            return false;
    }
    table.add({QStringLiteral("Print Service address lookup, no logger"), QStringLiteral("ms"),
               lookupMs[0], QStringLiteral("cupsGetDests2"), lookupMs[1]});
    table.add({QStringLiteral("default printer change, request to worker end"),
               QStringLiteral("ms"), changeMs[0], QStringLiteral("cupsSetDests2 change"),
               changeMs[1]});
    return true;
}

bool SpoolerSteps::measureLookups(QList<double> &clientMs, QList<double> &floorMs)
{
    CupsPrinterConnector connector(nullptr);
    QList<double> client;
    QList<double> floor;
    for (int i = 0; i < m_repetitions; ++i) {
        auto start = std::chrono::steady_clock::now();
        const QString address = connector.getPrintServiceForOndrelPrinter();
        client.append(millisecondsSince(start));
        if (address != m_expectedAddress)
            return fail(QStringLiteral("the address lookup gave \"%1\" instead of %2")
                            .arg(address, m_expectedAddress));

        start = std::chrono::steady_clock::now();
        cups_dest_t *dests = nullptr;
        const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
        cupsFreeDests(count, dests);
        floor.append(millisecondsSince(start));
        if (count < 1)
            return fail(QStringLiteral("cupsGetDests2 listed no queue: %1")
                            .arg(QString::fromUtf8(cupsLastErrorString())));
    }
    clientMs.append(FigureTable::median(client));
    floorMs.append(FigureTable::median(floor));
    return true;
}

bool SpoolerSteps::measureDefaultChanges(QList<double> &clientMs, QList<double> &floorMs)
{
    // One attempt, so a failed change ends the worker at once and shows as a wrong result.
    CupsPrinterConnector connector(nullptr, 1);
    QList<double> client;
    QList<double> floor;
    // The client's request always moves the default from the second queue to the first and
    // the floor moves it back, so that every request is a real change.
    const char *name = QueueNames[0];
    const char *other = QueueNames[1];
    if (!setDefaultQueueDirectly(other))
        return fail(QStringLiteral("cupsSetDests2 failed"));
    for (int i = 0; i < m_repetitions; ++i) {
        auto start = std::chrono::steady_clock::now();
        connector.setDefaultPrinter(QString::fromLatin1(name));
        // The worker's own bound is one request deadline; twenty seconds is far beyond it.
        while (CupsPrinterConnector::isSettingDefaultPrinter() && millisecondsSince(start) < 20000)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        client.append(millisecondsSince(start));
        if (CupsPrinterConnector::isSettingDefaultPrinter() ||
            defaultQueue() != QLatin1String(name))
            return fail(
                QStringLiteral("the default printer did not become %1").arg(QLatin1String(name)));

        start = std::chrono::steady_clock::now();
        const bool written = setDefaultQueueDirectly(other);
        floor.append(millisecondsSince(start));
        if (!written || defaultQueue() != QLatin1String(other))
            return fail(QStringLiteral("cupsSetDests2 did not make %1 the default")
                            .arg(QLatin1String(other)));
    }
    clientMs.append(FigureTable::median(client));
    floorMs.append(FigureTable::median(floor));
    return true;
}
