#include "InteractiveConsole.h"
#include "ScenarioRunner.h"
#include "ScenarioScript.h"
#include "SimulatorHttpServer.h"
#include "SimulatorServer.h"
#include "TrafficLog.h"

#include "protocol/PrintClientMessager.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <memory>

namespace {

// Exit statuses: every expectation met; an expectation or step failed; bad usage.
constexpr int ExitOk = 0;
constexpr int ExitFailed = 1;
constexpr int ExitUsage = 2;

const char *const Description =
    "A Print Service peer for trying the print client: it listens for the client, records\n"
    "every text it receives with a time stamp, and plays a scenario from a script or from\n"
    "the prompt.\n"
    "\n"
    "Script steps, one per line (blank lines and lines starting with # are ignored):\n"
    "  expect <regex>   the next received text must match the whole regex within the\n"
    "                   time-out (--timeout)\n"
    "  send <text>      send the text (NUL-terminated UTF-8) to the newest client; waits up\n"
    "                   to the time-out for one; ${NOW} becomes the current timestamp\n"
    "  wait <ms>        pause\n"
    "  close            drop every client and stop listening (reconnections are refused)\n"
    "  reopen           listen again\n"
    "  http <regex> <behaviour>\n"
    "                   from now on, answer the HTTP paths matching the whole regex so:\n"
    "                   serve (the file), 404, hang (never answer) or close (end the\n"
    "                   body early); the newest matching step wins\n"
    "Without --script the same steps are read from standard input.\n"
    "\n"
    "With --http-port, GET /a/b.qm answers the file a/b.qm of --http-root; every request\n"
    "shows in the traffic log as \"http GET /a/b.qm 200\".\n"
    "\n"
    "Exit status: 0 when every expectation was met in time, 1 when one was not (or a step\n"
    "failed), 2 on a usage, script or listening error.";

int usageError(const QString &message)
{
    std::fprintf(stderr, "ondps-sim: %s\n", qPrintable(message));
    return ExitUsage;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("ondps-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(Description));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption listenOption(
        {QStringLiteral("l"), QStringLiteral("listen")},
        QStringLiteral("Listen on this IP address (default 127.0.0.1)."), QStringLiteral("address"),
        QStringLiteral("127.0.0.1"));
    const QCommandLineOption portOption(
        {QStringLiteral("p"), QStringLiteral("port")},
        QStringLiteral("Listen on this port (default %1; 0 picks a free one).")
            .arg(PrintClientMessager::PrintServicePort),
        QStringLiteral("port"), QString::number(PrintClientMessager::PrintServicePort));
    const QCommandLineOption scriptOption({QStringLiteral("s"), QStringLiteral("script")},
                                          QStringLiteral("Play this scenario script."),
                                          QStringLiteral("file"));
    const QCommandLineOption timeoutOption(
        {QStringLiteral("t"), QStringLiteral("timeout")},
        QStringLiteral("How long an expect or a send waits, in ms (default 10000)."),
        QStringLiteral("ms"), QStringLiteral("10000"));
    const QCommandLineOption logOption(
        QStringLiteral("log"),
        QStringLiteral("Write the traffic log to this file instead of standard output."),
        QStringLiteral("file"));
    const QCommandLineOption httpPortOption(
        QStringLiteral("http-port"),
        QStringLiteral("Also serve the files of --http-root over HTTP on this port (0 picks a "
                       "free one), on the same address."),
        QStringLiteral("port"));
    const QCommandLineOption httpRootOption(QStringLiteral("http-root"),
                                            QStringLiteral("The folder served over HTTP."),
                                            QStringLiteral("folder"));
    parser.addOptions({listenOption, portOption, scriptOption, timeoutOption, logOption,
                       httpPortOption, httpRootOption});

    if (!parser.parse(QCoreApplication::arguments()))
        return usageError(parser.errorText());
    if (parser.isSet(helpOption)) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return ExitOk;
    }
    if (!parser.positionalArguments().isEmpty())
        return usageError(
            QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().first()));

    const QHostAddress address(parser.value(listenOption));
    if (address.isNull())
        return usageError(
            QStringLiteral("not an IP address: \"%1\"").arg(parser.value(listenOption)));
    bool ok = false;
    const uint port = parser.value(portOption).toUInt(&ok);
    if (!ok || port > 65535)
        return usageError(QStringLiteral("not a port: \"%1\"").arg(parser.value(portOption)));
    const int timeoutMs = parser.value(timeoutOption).toInt(&ok);
    if (!ok || timeoutMs < 0)
        return usageError(
            QStringLiteral("not a time-out in ms: \"%1\"").arg(parser.value(timeoutOption)));

    const bool servesFiles = parser.isSet(httpPortOption);
    const uint httpPort = parser.value(httpPortOption).toUInt(&ok);
    if (servesFiles && (!ok || httpPort > 65535))
        return usageError(QStringLiteral("not a port: \"%1\"").arg(parser.value(httpPortOption)));
    if (servesFiles != parser.isSet(httpRootOption))
        return usageError(QStringLiteral("--http-port and --http-root go together"));
    if (servesFiles && !QFileInfo(parser.value(httpRootOption)).isDir())
        return usageError(QStringLiteral("not a folder: \"%1\"").arg(parser.value(httpRootOption)));

    QList<ScenarioStep> steps;
    const bool scripted = parser.isSet(scriptOption);
    if (scripted) {
        QFile script(parser.value(scriptOption));
        if (!script.open(QIODevice::ReadOnly))
            return usageError(
                QStringLiteral("cannot read %1: %2").arg(script.fileName(), script.errorString()));
        QString error;
        if (!ScenarioScript::parse(QString::fromUtf8(script.readAll()), &steps, &error))
            return usageError(script.fileName() + QStringLiteral(": ") + error);
    }

    QFile logFile;
    if (parser.isSet(logOption)) {
        logFile.setFileName(parser.value(logOption));
        if (!logFile.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return usageError(QStringLiteral("cannot write %1: %2")
                                  .arg(logFile.fileName(), logFile.errorString()));
    } else if (!logFile.open(stdout, QIODevice::WriteOnly)) {
        return usageError(QStringLiteral("cannot write to standard output"));
    }

    TrafficLog log(&logFile);
    SimulatorServer server(&log, PrintClientMessager::UnterminatedTextDelayMs);
    ScenarioRunner runner(&server, timeoutMs);
    if (!server.listen(address, quint16(port)))
        return usageError(QStringLiteral("cannot listen on %1:%2: %3")
                              .arg(address.toString())
                              .arg(port)
                              .arg(server.errorString()));
    std::unique_ptr<SimulatorHttpServer> http;
    if (servesFiles) {
        http = std::make_unique<SimulatorHttpServer>(&log, parser.value(httpRootOption));
        if (!http->listen(address, quint16(httpPort)))
            return usageError(QStringLiteral("cannot listen on %1:%2: %3")
                                  .arg(address.toString())
                                  .arg(httpPort)
                                  .arg(http->errorString()));
        runner.setHttpServer(http.get());
    }

    std::unique_ptr<InteractiveConsole> console;
    if (scripted) {
        QObject::connect(
            &runner, &ScenarioRunner::stepFailed, &runner,
            [&runner, name = parser.value(scriptOption)](int line, const QString &why) {
                std::fprintf(stderr, "ondps-sim: %s:%d: %s\n", qPrintable(name), line,
                             qPrintable(why));
                runner.clear(); // a script stops at its first failure
            });
        QObject::connect(&runner, &ScenarioRunner::finished, &app, [&runner] {
            QCoreApplication::exit(runner.failures() > 0 ? ExitFailed : ExitOk);
        });
        if (steps.isEmpty())
            return ExitOk;
        for (const ScenarioStep &step : std::as_const(steps))
            runner.append(step);
    } else {
        console = std::make_unique<InteractiveConsole>(&runner);
        QObject::connect(console.get(), &InteractiveConsole::quitRequested, &app, [&runner] {
            QCoreApplication::exit(runner.failures() > 0 ? ExitFailed : ExitOk);
        });
        console->start();
    }
    const int status = QCoreApplication::exec();
    server.close();
    return status;
}
