// ondtpc-bench: measures the real client next to floors taken on the same machine in the
// same run (a C echo pair, bare Qt programs) and prints one table of medians and ratios.
// See bench/README.md for what each figure means.
#include "ClientSession.h"
#include "DialogLatency.h"
#include "FigureTable.h"
#include "LanguageSwitch.h"
#include "ProcessSample.h"
#include "SpawnedProcess.h"
#include "SpoolerSteps.h"
#include "ThousandJobs.h"
#include "nulpeer.h"

#include "ClientHarness.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>

#include <cstdio>
#include <stdexcept>
#include <thread>
#include <tuple>

namespace {

const char *const UnregisteredText = "99|20260101120000";
const char *const UnregisteredReply = "Message Not Handled: 99|20260101120000";
const char *const NoResponseText = "No Response";

struct Settings
{
    int runs = 5;
    long roundTrips = 10000;
    long warmup = 200;
    long floodTexts = 100000;
    int idleSeconds = 10;
    int settleMs = 2000;
    QString address = QStringLiteral("127.0.0.81");
    QString trayAddress = QStringLiteral("127.0.0.83");
    QString dialogAddress = QStringLiteral("127.0.0.85");
    int dialogs = 30;
    int jobs = 1000;
    QStringList parts{"roundtrip", "idle", "flood", "spooler", "dialog", "jobs", "language"};
    int spoolerRepetitions = 20;
    int languageSwitches = 200;
    QString logSample;
};

struct RoundTripFigures
{
    QList<double> p50[2][2]; // [logging][text]
    QList<double> p99[2][2];
    QList<double> echoP50[2];
    QList<double> echoP99[2];
    // CPU time per message in microseconds: the client's and the echo server's.
    QList<double> cpuUs[2][2];
    QList<double> echoCpuUs[2];
    QList<double> startupMs[2];
    QList<double> rssMb[2];
    QList<double> hwmMb[2];
    QList<double> bareStartMs;
    QList<double> barePeakMb;
};

// Thrown on any failure, so that every started program is stopped on the way out.
struct BenchFailure : std::runtime_error
{
    using std::runtime_error::runtime_error;
};

[[noreturn]] void fail(const QString &what)
{
    throw BenchFailure(what.toStdString());
}

void progress(const QString &what)
{
    std::fprintf(stderr, "  %s\n", qPrintable(what));
}

// p50 and p99 of the C echo pair and its server's CPU time per message, in microseconds.
std::tuple<double, double, double> measureEcho(const Settings &settings, const char *text)
{
    QProcess echo;
    echo.start(QStringLiteral(BENCH_ECHO),
               {QString::number(settings.roundTrips), QString::fromLatin1(text),
                QString::number(settings.warmup)});
    if (!echo.waitForFinished(120000) || echo.exitCode() != 0)
        fail(QStringLiteral("the C echo pair failed: %1")
                 .arg(QString::fromLocal8Bit(echo.readAllStandardError())));
    const QList<QByteArray> figures = echo.readAllStandardOutput().trimmed().split(' ');
    return {figures.value(0).toDouble() / 1000, figures.value(1).toDouble() / 1000,
            figures.value(2).toDouble() / 1000 / double(settings.roundTrips)};
}

void measureClientRoundTrips(const Settings &settings, ClientHarness &harness, bool logging,
                             RoundTripFigures &figures)
{
    ClientSession session(harness, settings.address, logging);
    if (!session.start())
        fail(QStringLiteral("client start: %1").arg(session.errorText()));
    figures.startupMs[logging].append(session.startupMs());
    std::this_thread::sleep_for(std::chrono::milliseconds(settings.settleMs));
    const ProcessSample memory = ProcessSample::read(session.pid());
    figures.rssMb[logging].append(memory.rssKb / 1024.0);
    figures.hwmMb[logging].append(memory.hwmKb / 1024.0);

    const std::pair<const char *, const char *> texts[2] = {{UnregisteredText, UnregisteredReply},
                                                            {NoResponseText, NoResponseText}};
    for (int t = 0; t < 2; ++t) {
        std::vector<std::uint64_t> latencies;
        std::uint64_t cpuNs = 0;
        if (!session.roundTrips(texts[t].first, texts[t].second, settings.roundTrips,
                                settings.warmup, latencies, &cpuNs))
            fail(QStringLiteral("round trips: %1").arg(session.errorText()));
        figures.cpuUs[logging][t].append(double(cpuNs) / 1000 / double(settings.roundTrips));
        figures.p50[logging][t].append(
            nul_quantile(latencies.data(), long(latencies.size()), 0.50) / 1000.0);
        figures.p99[logging][t].append(
            nul_quantile(latencies.data(), long(latencies.size()), 0.99) / 1000.0);
    }
    if (!session.stop())
        fail(QStringLiteral("client stop: %1").arg(session.errorText()));
}

void measureBareDialog(const QProcessEnvironment &environment, RoundTripFigures &figures)
{
    SpawnedProcess bare;
    if (!bare.start(QStringLiteral(BENCH_BARE_DIALOG), {}, environment))
        fail(QStringLiteral("cannot start the bare dialog program"));
    if (bare.readLine(20000) != "shown")
        fail(QStringLiteral("the bare dialog program did not show its dialog"));
    figures.bareStartMs.append(double(nul_now_ns() - bare.startedNs()) / 1e6);
    if (!bare.waitFinished(20000) || bare.exitCode() != 0)
        fail(QStringLiteral("the bare dialog program did not end"));
    figures.barePeakMb.append(bare.peakRssKb() / 1024.0);
}

void roundTripsAndStartup(const Settings &settings, ClientHarness &harness, FigureTable &table)
{
    RoundTripFigures figures;
    for (int run = 0; run < settings.runs; ++run) {
        progress(QStringLiteral("round trips and start-up, run %1 of %2")
                     .arg(run + 1)
                     .arg(settings.runs));
        for (int t = 0; t < 2; ++t) {
            const auto [p50, p99, cpuUs] =
                measureEcho(settings, t == 0 ? UnregisteredText : NoResponseText);
            figures.echoP50[t].append(p50);
            figures.echoP99[t].append(p99);
            figures.echoCpuUs[t].append(cpuUs);
        }
        for (bool logging : {true, false})
            measureClientRoundTrips(settings, harness, logging, figures);
        measureBareDialog(harness.clientEnvironment(), figures);
    }

    const QString textNames[2] = {QStringLiteral("unregistered id"),
                                  QStringLiteral("\"No Response\"")};
    for (bool logging : {true, false}) {
        const QString log = logging ? QStringLiteral("verbose log") : QStringLiteral("logging off");
        for (int t = 0; t < 2; ++t) {
            FigureTable::Row p50{QStringLiteral("round trip p50, %1, %2").arg(textNames[t], log),
                                 QStringLiteral("us"), figures.p50[logging][t],
                                 QStringLiteral("C echo p50"), figures.echoP50[t]};
            p50.maxRatio = logging ? 6 : 2.5;
            table.add(p50);
            table.add({QStringLiteral("round trip p99, %1, %2").arg(textNames[t], log),
                       QStringLiteral("us"), figures.p99[logging][t], QStringLiteral("C echo p99"),
                       figures.echoP99[t]});
            // Unlike the wall clock, CPU time does not follow the processors' idle states.
            FigureTable::Row cpu{QStringLiteral("CPU per message, %1, %2").arg(textNames[t], log),
                                 QStringLiteral("us"), figures.cpuUs[logging][t],
                                 QStringLiteral("C echo server CPU"), figures.echoCpuUs[t]};
            cpu.maxRatio = logging ? 0 : 3;
            table.add(cpu);
        }
    }
    for (bool logging : {true, false}) {
        const QString log = logging ? QStringLiteral("verbose log") : QStringLiteral("logging off");
        FigureTable::Row start{QStringLiteral("start-up, exec to registration, %1").arg(log),
                               QStringLiteral("ms"), figures.startupMs[logging],
                               QStringLiteral("bare dialog shown"), figures.bareStartMs};
        start.maxRatio = 3;
        table.add(start);
        FigureTable::Row rss{QStringLiteral("VmRSS 2 s after registration, %1").arg(log),
                             QStringLiteral("MiB"), figures.rssMb[logging],
                             QStringLiteral("bare dialog peak RSS"), figures.barePeakMb};
        rss.maxRatio = 1.5;
        table.add(rss);
        FigureTable::Row hwm{QStringLiteral("VmHWM 2 s after registration, %1").arg(log),
                             QStringLiteral("MiB"), figures.hwmMb[logging],
                             QStringLiteral("bare dialog peak RSS"), figures.barePeakMb};
        hwm.maxRatio = 1.5;
        table.add(hwm);
    }
}

// Starts a bare idle program and waits until its event loop runs.
void startIdleProgram(SpawnedProcess &process, const QStringList &arguments,
                      const QProcessEnvironment &environment)
{
    if (!process.start(QStringLiteral(BENCH_BARE_IDLE), arguments, environment) ||
        process.readLine(20000) != "ready")
        fail(QStringLiteral("the bare idle program did not start"));
}

// CPU time (ms) and wake-ups (a second) of each process over the idle span.
void sampleIdle(const Settings &settings, const QList<pid_t> &pids, QList<double> *cpuMs,
                QList<double> *wakeups)
{
    QList<ProcessSample> before;
    for (const pid_t pid : pids)
        before.append(ProcessSample::read(pid));
    std::this_thread::sleep_for(std::chrono::seconds(settings.idleSeconds));
    for (qsizetype i = 0; i < pids.size(); ++i) {
        const ProcessSample after = ProcessSample::read(pids[i]);
        if (!before[i].valid || !after.valid)
            fail(QStringLiteral("cannot read /proc of an idle program"));
        cpuMs[i].append(double(ProcessSample::cpuNsBetween(before[i], after)) / 1e6);
        wakeups[i].append(double(ProcessSample::switchesBetween(before[i], after)) /
                          settings.idleSeconds);
    }
}

void idle(const Settings &settings, ClientHarness &harness, FigureTable &table)
{
    const QProcessEnvironment environment = harness.clientEnvironment();
    // [0] the client, [1] a bare idle program, [2] one with a 10 ms timer, [3] the client with
    // its progress window on screen.
    QList<double> cpuMs[4];
    QList<double> wakeups[4];
    for (int run = 0; run < settings.runs; ++run) {
        progress(QStringLiteral("idle, run %1 of %2").arg(run + 1).arg(settings.runs));
        ClientSession client(harness, settings.address, true);
        if (!client.start())
            fail(QStringLiteral("client start: %1").arg(client.errorText()));
        SpawnedProcess bare;
        SpawnedProcess ticking;
        startIdleProgram(bare, {}, environment);
        startIdleProgram(ticking, {QStringLiteral("--timer-ms"), QStringLiteral("10")},
                         environment);
        std::this_thread::sleep_for(std::chrono::milliseconds(settings.settleMs));
        sampleIdle(settings, {client.pid(), bare.pid(), ticking.pid()}, cpuMs, wakeups);
        // The Print Service asks for the progress window; only its busy bar may run.
        QByteArray reply;
        if (!client.exchange("60|20250201090503", reply) || !reply.startsWith("80|"))
            fail(QStringLiteral("the progress window was not acknowledged: %1")
                     .arg(client.errorText()));
        std::this_thread::sleep_for(std::chrono::milliseconds(settings.settleMs));
        sampleIdle(settings, {client.pid()}, cpuMs + 3, wakeups + 3);
        if (!client.stop())
            fail(QStringLiteral("client stop: %1").arg(client.errorText()));
        bare.terminate(5000);
        ticking.terminate(5000);
    }
    const QString span = QString::number(settings.idleSeconds);
    FigureTable::Row cpu{QStringLiteral("idle CPU time over %1 s, registered client").arg(span),
                         QStringLiteral("ms"), cpuMs[0], QStringLiteral("bare idle Qt"), cpuMs[1]};
    cpu.maxExcess = 1;
    table.add(cpu);
    FigureTable::Row wakes{QStringLiteral("idle wake-ups per second, registered client"),
                           QStringLiteral("/s"), wakeups[0], QStringLiteral("bare idle Qt"),
                           wakeups[1]};
    wakes.maxExcess = 0.1;
    table.add(wakes);
    table.add({QStringLiteral("idle CPU time over %1 s, Qt with a 10 ms timer").arg(span),
               QStringLiteral("ms"), cpuMs[2], QStringLiteral("bare idle Qt"), cpuMs[1]});
    table.add({QStringLiteral("idle wake-ups per second, Qt with a 10 ms timer"),
               QStringLiteral("/s"), wakeups[2], QStringLiteral("bare idle Qt"), wakeups[1]});
    table.add({QStringLiteral("CPU time over %1 s, progress window shown").arg(span),
               QStringLiteral("ms"), cpuMs[3], QStringLiteral("Qt with a 10 ms timer"), cpuMs[2]});
    table.add({QStringLiteral("wake-ups per second, progress window shown"), QStringLiteral("/s"),
               wakeups[3], QStringLiteral("Qt with a 10 ms timer"), wakeups[2]});
}

// An installed client shows its tray icon on an X server with a tray (Xvfb and trayer); the
// floor is a bare Qt program on the same server.
void idleWithTrayIcon(const Settings &settings, FigureTable &table)
{
    ClientHarness harness(settings.trayAddress);
    if (!harness.start() || !harness.startXServer() || !harness.startSystemTray())
        fail(QStringLiteral("tray world: %1").arg(harness.errorText()));
    if (!harness.installClient())
        fail(QStringLiteral("cannot make the client an installed one"));
    QList<double> cpuMs[2];
    QList<double> wakeups[2];
    for (int run = 0; run < settings.runs; ++run) {
        progress(QStringLiteral("idle with the tray icon, run %1 of %2")
                     .arg(run + 1)
                     .arg(settings.runs));
        ClientSession client(harness, settings.trayAddress, true);
        if (!client.start())
            fail(QStringLiteral("client start: %1").arg(client.errorText()));
        // The icon is the client's one window on screen once the tray has embedded it.
        const QString pid = QString::number(client.pid());
        const QDeadlineTimer deadline(20000);
        while (harness
                   .onDisplay(QStringLiteral("xdotool"),
                              {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                               QStringLiteral("--pid"), pid})
                   .isEmpty()) {
            if (deadline.hasExpired())
                fail(QStringLiteral("the tray icon did not show"));
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        SpawnedProcess bare;
        startIdleProgram(bare, {}, harness.clientEnvironment());
        std::this_thread::sleep_for(std::chrono::milliseconds(settings.settleMs));
        sampleIdle(settings, {client.pid(), bare.pid()}, cpuMs, wakeups);
        if (!client.stop())
            fail(QStringLiteral("client stop: %1").arg(client.errorText()));
        bare.terminate(5000);
    }
    const QString span = QString::number(settings.idleSeconds);
    FigureTable::Row cpu{
        QStringLiteral("idle CPU time over %1 s, installed client with its tray icon").arg(span),
        QStringLiteral("ms"), cpuMs[0], QStringLiteral("bare idle Qt on X"), cpuMs[1]};
    cpu.maxExcess = 1;
    table.add(cpu);
    FigureTable::Row wakes{
        QStringLiteral("idle wake-ups per second, installed client with its tray icon"),
        QStringLiteral("/s"), wakeups[0], QStringLiteral("bare idle Qt on X"), wakeups[1]};
    wakes.maxExcess = 0.1;
    table.add(wakes);
}

void flood(const Settings &settings, ClientHarness &harness, FigureTable &table)
{
    for (bool logging : {true, false}) {
        QList<double> rate;
        QList<double> before;
        QList<double> peak;
        QList<double> hwm;
        bool inOrder = true;
        for (int run = 0; run < settings.runs; ++run) {
            progress(QStringLiteral("flood, %1, run %2 of %3")
                         .arg(logging ? "verbose log" : "logging off")
                         .arg(run + 1)
                         .arg(settings.runs));
            ClientSession session(harness, settings.address, logging);
            if (!session.start())
                fail(QStringLiteral("client start: %1").arg(session.errorText()));
            std::this_thread::sleep_for(std::chrono::milliseconds(settings.settleMs));
            ClientSession::FloodResult result;
            if (!session.flood(settings.floodTexts, result)) {
                progress(QStringLiteral("flood: %1").arg(session.errorText()));
                inOrder = false;
            }
            rate.append(result.answered / result.seconds);
            before.append(result.rssBeforeKb / 1024.0);
            peak.append(result.peakRssKb / 1024.0);
            hwm.append(result.hwmKb / 1024.0);
            if (!session.stop())
                fail(QStringLiteral("client stop: %1").arg(session.errorText()));
        }
        const QString log = logging ? QStringLiteral("verbose log") : QStringLiteral("logging off");
        FigureTable::Row answered{QStringLiteral("flood of %1 texts, %2: replies per second")
                                      .arg(settings.floodTexts)
                                      .arg(log),
                                  QStringLiteral("/s"), rate};
        answered.otherTarget = QStringLiteral("every reply, in order");
        answered.otherMet = inOrder;
        table.add(answered);
        FigureTable::Row memory{QStringLiteral("flood, %1: peak VmRSS").arg(log),
                                QStringLiteral("MiB"), peak,
                                QStringLiteral("VmRSS before the flood"), before};
        memory.maxRatio = 1.5;
        table.add(memory);
        table.add({QStringLiteral("flood, %1: VmHWM after the flood").arg(log),
                   QStringLiteral("MiB"), hwm, QStringLiteral("VmRSS before the flood"), before});
    }
}

// A short verbose conversation whose log files go to folder, for comparing the log bytes
// of two builds.
void logSample(const Settings &settings, ClientHarness &harness)
{
    ClientSession session(harness, settings.address, true);
    if (!session.start())
        fail(QStringLiteral("client start: %1").arg(session.errorText()));
    std::vector<std::uint64_t> latencies;
    if (!session.roundTrips(UnregisteredText, UnregisteredReply, 3, 0, latencies) ||
        !session.roundTrips(NoResponseText, NoResponseText, 3, 0, latencies) ||
        !session.roundTrips("58|20260101120000|Apassword|B1",
                            "Message Not Handled: "
                            "58|20260101120000|Apassword|B1",
                            1, 0, latencies) ||
        !session.stop())
        fail(QStringLiteral("log sample: %1").arg(session.errorText()));
    QDir().mkpath(settings.logSample);
    for (const char *name : {"ondtpc-userlog.txt", "ondtpc-devlog.txt"}) {
        const QString target = settings.logSample + QLatin1Char('/') + QLatin1String(name);
        QFile::remove(target);
        if (!QFile::copy(session.logFolder() + QLatin1Char('/') + QLatin1String(name), target))
            fail(QStringLiteral("cannot copy %1").arg(QLatin1String(name)));
    }
}

Settings parseSettings(const QCoreApplication &application)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Measures ondtpc next to floors taken in the same run."));
    parser.addHelpOption();
    const QCommandLineOption runs(QStringLiteral("runs"), QStringLiteral("runs per figure (5)"),
                                  QStringLiteral("n"));
    const QCommandLineOption roundTrips(QStringLiteral("round-trips"),
                                        QStringLiteral("timed round trips per run (10000)"),
                                        QStringLiteral("n"));
    const QCommandLineOption floodTexts(
        QStringLiteral("flood"), QStringLiteral("texts per flood (100000)"), QStringLiteral("n"));
    const QCommandLineOption idleSeconds(QStringLiteral("idle-seconds"),
                                         QStringLiteral("idle span (10)"), QStringLiteral("s"));
    const QCommandLineOption address(QStringLiteral("address"),
                                     QStringLiteral("loopback address of the peer (127.0.0.81)"),
                                     QStringLiteral("ip"));
    const QCommandLineOption trayAddress(
        QStringLiteral("tray-address"),
        QStringLiteral("loopback address of the peer of the tray icon's idle run (127.0.0.83)"),
        QStringLiteral("ip"));
    const QCommandLineOption dialogAddress(
        QStringLiteral("dialog-address"),
        QStringLiteral("loopback address of the peer of the dialog parts (127.0.0.85)"),
        QStringLiteral("ip"));
    const QCommandLineOption dialogs(QStringLiteral("dialogs"),
                                     QStringLiteral("cost dialogs per run (30)"),
                                     QStringLiteral("n"));
    const QCommandLineOption jobs(QStringLiteral("jobs"),
                                  QStringLiteral("whole jobs per run (1000)"), QStringLiteral("n"));
    const QCommandLineOption parts(
        QStringLiteral("parts"),
        QStringLiteral("comma-separated: roundtrip,idle,flood,spooler,dialog,jobs,language"),
        QStringLiteral("list"));
    const QCommandLineOption quick(QStringLiteral("quick"),
                                   QStringLiteral("one short run of everything (a smoke check)"));
    const QCommandLineOption sample(QStringLiteral("log-sample"),
                                    QStringLiteral("only write a short verbose log to folder"),
                                    QStringLiteral("folder"));
    parser.addOptions({runs, roundTrips, floodTexts, idleSeconds, address, trayAddress,
                       dialogAddress, dialogs, jobs, parts, quick, sample});
    parser.process(application);

    Settings settings;
    if (parser.isSet(quick)) {
        settings.runs = 1;
        settings.roundTrips = 500;
        settings.warmup = 20;
        settings.floodTexts = 5000;
        settings.idleSeconds = 1;
        settings.settleMs = 200;
        settings.spoolerRepetitions = 3;
        settings.languageSwitches = 4;
        settings.dialogs = 3;
        settings.jobs = 20;
    }
    if (parser.isSet(runs))
        settings.runs = std::max(1, parser.value(runs).toInt());
    if (parser.isSet(roundTrips))
        settings.roundTrips = std::max(1L, parser.value(roundTrips).toLong());
    if (parser.isSet(floodTexts))
        settings.floodTexts = std::max(1L, parser.value(floodTexts).toLong());
    if (parser.isSet(idleSeconds))
        settings.idleSeconds = std::max(1, parser.value(idleSeconds).toInt());
    if (parser.isSet(address))
        settings.address = parser.value(address);
    if (parser.isSet(trayAddress))
        settings.trayAddress = parser.value(trayAddress);
    if (parser.isSet(dialogAddress))
        settings.dialogAddress = parser.value(dialogAddress);
    if (parser.isSet(dialogs))
        settings.dialogs = std::max(1, parser.value(dialogs).toInt());
    if (parser.isSet(jobs))
        settings.jobs = std::max(2, parser.value(jobs).toInt());
    if (parser.isSet(parts))
        settings.parts = parser.value(parts).split(QLatin1Char(','));
    settings.logSample = parser.value(sample);
    return settings;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const Settings settings = parseSettings(application);

    try {
        // The client finds its Print Service through the virtual printer of a private spooler,
        // in the private world the end-to-end tests use; the bare programs run in it too.
        ClientHarness harness(settings.address);
        if (!harness.start())
            fail(QStringLiteral("private world: %1").arg(harness.errorText()));

        if (!settings.logSample.isEmpty()) {
            logSample(settings, harness);
            return 0;
        }

        std::fprintf(stderr, "ondtpc-bench: %d run(s) per figure\n", settings.runs);
        FigureTable table;
        if (settings.parts.contains(QLatin1String("roundtrip")))
            roundTripsAndStartup(settings, harness, table);
        if (settings.parts.contains(QLatin1String("idle")))
            idle(settings, harness, table);
        if (settings.parts.contains(QLatin1String("idle")))
            idleWithTrayIcon(settings, table);
        if (settings.parts.contains(QLatin1String("flood")))
            flood(settings, harness, table);
        if (settings.parts.contains(QLatin1String("language"))) {
            LanguageSwitch language(settings.address, settings.runs, settings.languageSwitches,
                                    harness.clientEnvironment());
            if (!language.measure(table))
                fail(QStringLiteral("language switch: %1").arg(language.errorText()));
        }
        if (settings.parts.contains(QLatin1String("dialog"))) {
            DialogLatency dialogs(settings.dialogAddress, settings.runs, settings.dialogs);
            if (!dialogs.measure(table))
                fail(QStringLiteral("dialogs: %1").arg(dialogs.errorText()));
        }
        if (settings.parts.contains(QLatin1String("jobs"))) {
            ThousandJobs jobs(settings.dialogAddress, settings.runs, settings.jobs,
                              settings.dialogs);
            if (!jobs.measure(table))
                fail(QStringLiteral("whole jobs: %1").arg(jobs.errorText()));
        }
        // Last: it points this process's own libcups at the private cupsd.
        if (settings.parts.contains(QLatin1String("spooler"))) {
            progress(QStringLiteral("spooler steps, %1 run(s)").arg(settings.runs));
            SpoolerSteps spooler(harness.cupsd(), settings.address, settings.runs,
                                 settings.spoolerRepetitions);
            if (!spooler.measure(table))
                fail(QStringLiteral("spooler steps: %1").arg(spooler.errorText()));
        }
        std::printf("\nMedians of %d run(s) (min-max); ratio = median of the per-run ratios.\n",
                    settings.runs);
        table.print(stdout);
        return 0;
    } catch (const BenchFailure &failure) {
        std::fprintf(stderr, "ondtpc-bench: %s\n", failure.what());
        return 1;
    }
}
