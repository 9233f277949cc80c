#include "core/LogEvent.h"
#include "core/Observable.h"
#include "settings/XmlPreferences.h"
#include "shell/Log4CppLineLayout.h"
#include "shell/Log4CppLogger.h"
#include "shell/NullLogger.h"
#include "shell/ObserverManager.h"

#include "FileBytes.h"

#include <QtTest>

#include <log4cpp/LoggingEvent.hh>
#include <log4cpp/PatternLayout.hh>

#include <csignal>
#include <sys/stat.h>
#include <thread>

using Brindlecore::Core::ObserverManager;

namespace {

UtilsLib::XmlPreferences loggingPreferences(int enabled, int verbose, int maxSizeMb = 10,
                                            int backups = 3)
{
    UtilsLib::XmlPreferences preferences("ondtpc");
    preferences.setInt("Logging: Enabled", enabled);
    preferences.setInt("Logging: Maximum File Size in MB", maxSizeMb);
    preferences.setInt("Logging: Maximum Number of Backups", backups);
    preferences.setInt("Logging: Verbose", verbose);
    preferences.setInt("Logging Level", 2);
    return preferences;
}

void logSample(UtilsLib::Observer *observer)
{
    UtilsLib::Observable source;
    source.addObserver(observer);
    {
        UtilsLib::TraceScope trace(&source, "PrintClientMessager",
                                   "PrintClientMessager::writeData");
        UtilsLib::logEvent(&source, "PrintClientMessager", "PrintClientMessager::writeData",
                           UtilsLib::LogInfo, "Sent 12 bytes");
        UtilsLib::logEvent(&source, "OpcMessageDispatcher", "OpcMessageDispatcher::dispatch",
                           UtilsLib::LogVerbose, "After check for NO_RESPONSE");
        UtilsLib::logEvent(&source, "OpcMessageDispatcher", "OpcMessageDispatcher::dispatch",
                           UtilsLib::LogWarning, "Message is malformed");
        UtilsLib::logEvent(&source, "Message", "Brindlecore::Core::Message::handle",
                           UtilsLib::LogApplication, "No handler configured");
        UtilsLib::logEvent(&source, "Odd", "handle", UtilsLib::LogError, "no class, €");
    }
}

const QRegularExpression LinePattern(
    R"(^\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2},\d{3}, \S+, (ERROR|WARN |INFO |DEBUG), .*$)");

// Runs the probe with the test's private runtime folder and the offscreen platform.
class Probe
{
public:
    Probe(const QString &runtimeFolder, const QStringList &arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_RUNTIME_DIR", runtimeFolder);
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        m_process.setProcessEnvironment(environment);
        m_process.start(SINGLEINSTANCE_PROBE, arguments);
    }
    ~Probe()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    // The next line the probe prints, or an empty text after the timeout.
    QString nextLine(int timeoutMs = 30000)
    {
        QDeadlineTimer deadline(timeoutMs);
        while (!m_process.canReadLine()) {
            if (deadline.hasExpired() || !m_process.waitForReadyRead(int(deadline.remainingTime())))
                return QString();
        }
        return QString::fromUtf8(m_process.readLine()).chopped(1);
    }
    bool finished(int timeoutMs = 30000) { return m_process.waitForFinished(timeoutMs); }
    int exitCode() const { return m_process.exitCode(); }
    void crash() { ::kill(static_cast<pid_t>(m_process.processId()), SIGKILL); }

private:
    QProcess m_process;
};

QString runOnce(const QString &runtimeFolder, const QStringList &arguments)
{
    Probe probe(runtimeFolder, arguments);
    const QString line = probe.nextLine();
    probe.finished();
    return line;
}

} // namespace

class TestLogging : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_logs = m_dir->filePath("logs");
    }

    void lineLayoutWritesWhatPatternLayoutWrites_data()
    {
        QTest::addColumn<int>("priority");
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<uint>("seconds"); // 0: now
        QTest::addColumn<uint>("micros");

        const auto row = [](const char *name, int priority, const char *message, uint seconds,
                            uint micros) {
            QTest::newRow(name) << priority << QByteArray(message) << seconds << micros;
        };
        row("info now", 600, "OpcConnection, messageReceived, x", 0, 0);
        row("debug, no millis", 700, "A, b, Enter: A::b", 1767225600, 999);
        row("warn, last milli of a year", 400, "A, b, Message is malformed", 1767225599, 999999);
        row("error, epoch", 300, "Odd, handle, no class, \xe2\x82\xac", 1, 10000);
        row("fatal, empty", 0, "", 2000000000, 123456);
        row("notice, a name longer than the width", 500, "%d %m %n 100%", 0, 0);
        row("unknown priority", 950, "line\nbreak", 0, 0);
    }
    void lineLayoutWritesWhatPatternLayoutWrites()
    {
        QFETCH(int, priority);
        QFETCH(QByteArray, message);
        QFETCH(uint, seconds);
        QFETCH(uint, micros);

        log4cpp::PatternLayout reference;
        reference.setConversionPattern(Log4CppLineLayout::Pattern);
        Log4CppLineLayout layout;
        log4cpp::LoggingEvent event("Info", message.toStdString(), "", priority);
        if (seconds > 0)
            event.timeStamp = log4cpp::TimeStamp(seconds, micros);
        const QByteArray expected = QByteArray::fromStdString(reference.format(event));
        QCOMPARE(QByteArray::fromStdString(layout.format(event)), expected);
        // The second's text is kept between lines; the next second must not reuse it.
        QCOMPARE(QByteArray::fromStdString(layout.format(event)), expected);
        event.timeStamp = log4cpp::TimeStamp(event.timeStamp.getSeconds() + 1, micros);
        QCOMPARE(QByteArray::fromStdString(layout.format(event)),
                 QByteArray::fromStdString(reference.format(event)));
        QVERIFY(Log4CppLineLayout::matchesPatternLayout());
    }

    void configurationAsksForTheLayoutsPattern()
    {
        const QString text = Log4CppLogger::configurationText("ondtpc", "/l", 10, 3, true);
        QCOMPARE(text.count("ConversionPattern=" + QString(Log4CppLineLayout::Pattern)), 2);
    }

    void preferencesChooseTheLogs_data()
    {
        QTest::addColumn<int>("enabled");
        QTest::addColumn<int>("verbose");
        QTest::addColumn<bool>("damagedSizes"); // a file size of 0 MB and -2 backups
        QTest::addColumn<int>("userLines");     // -1: no such file
        QTest::addColumn<int>("devLines");
        QTest::newRow("verbose") << 1 << 1 << false << 4 << 7;
        QTest::newRow("quiet") << 1 << 0 << false << 4 << -1;
        // A size of 0 would roll the file on every line; the defaults (10 MB, 3) apply instead.
        QTest::newRow("quiet, damaged sizes") << 1 << 0 << true << 4 << -1;
        QTest::newRow("disabled") << 0 << 1 << false << -1 << -1;
    }
    void preferencesChooseTheLogs()
    {
        QFETCH(int, enabled);
        QFETCH(int, verbose);
        QFETCH(bool, damagedSizes);
        QFETCH(int, userLines);
        QFETCH(int, devLines);
        {
            const auto preferences =
                loggingPreferences(enabled, verbose, damagedSizes ? 0 : 10, damagedSizes ? -2 : 3);
            ObserverManager manager("ondtpc", preferences, m_logs);
            QCOMPARE(dynamic_cast<NullLogger *>(manager.getObserver()) != nullptr, enabled == 0);
            logSample(manager.getObserver());
        }
        const QString userLog = m_logs + "/ondtpc-userlog.txt";
        const QString devLog = m_logs + "/ondtpc-devlog.txt";
        QCOMPARE(QFile::exists(userLog), userLines >= 0);
        QCOMPARE(QFile::exists(devLog), devLines >= 0);
        const QStringList user = linesOf(userLog);
        const QStringList dev = linesOf(devLog);
        QCOMPARE(user.size(), std::max(userLines, 0));
        QCOMPARE(dev.size(), std::max(devLines, 0));
        for (const QString &line : user + dev)
            QVERIFY2(LinePattern.match(line).hasMatch(), qPrintable(line));
        // Four of the seven sample events are above DEBUG: only they reach the user log.
        if (dev.isEmpty())
            return;
        QVERIFY(user[0].endsWith(", INFO , PrintClientMessager, writeData, Sent 12 bytes"));
        QVERIFY(user[1].endsWith(", WARN , OpcMessageDispatcher, dispatch, Message is malformed"));
        QVERIFY(user[2].endsWith(", ERROR, Message, handle, No handler configured"));
        QVERIFY(user[3].endsWith(", ERROR, Odd, handle, no class, €"));
        QVERIFY(dev[0].endsWith(
            ", DEBUG, PrintClientMessager, writeData, Enter: PrintClientMessager::writeData"));
        QVERIFY(dev[2].endsWith(
            ", DEBUG, OpcMessageDispatcher, dispatch, After check for NO_RESPONSE"));
        QVERIFY(dev[6].endsWith(
            ", DEBUG, PrintClientMessager, writeData, Exit: PrintClientMessager::writeData"));
    }

    // Under a umask that would let everyone write, neither the folder nor any file, rolled over
    // or not, becomes writable by others.
    void filesRollOverKeepTheBackupsAndStayClosedToOthers()
    {
        const mode_t previous = ::umask(0);
        {
            ObserverManager manager("ondtpc", loggingPreferences(1, 0, 1, 2), m_logs);
            UtilsLib::Observable source;
            source.addObserver(manager.getObserver());
            const QString text(200, QChar('x'));
            // About 3.5 MB in 1 MB files: the current file and exactly two backups remain.
            for (int i = 0; i < 14000; ++i)
                UtilsLib::logEvent(&source, "Bulk", "Bulk::fill", UtilsLib::LogInfo, text);
        }
        ::umask(previous);
        const QStringList files = QDir(m_logs).entryList(QDir::Files, QDir::Name);
        QCOMPARE(files, (QStringList{"ondtpc-userlog.txt", "ondtpc-userlog.txt.1",
                                     "ondtpc-userlog.txt.2"}));
        const auto forbidden = QFileDevice::WriteGroup | QFileDevice::WriteOther;
        QVERIFY(!(QFileInfo(m_logs).permissions() & forbidden));
        QVERIFY(QFileInfo(m_logs).permissions() & QFileDevice::ReadOther);
        for (const QString &file : files) {
            const QFileInfo info(m_logs + '/' + file);
            QVERIFY(info.size() <= 1048576 + 300);
            QVERIFY2(!(info.permissions() & forbidden), qPrintable(file));
        }
    }

    void concurrentEventsStayWholeLines()
    {
        {
            ObserverManager manager("ondtpc", loggingPreferences(1, 1), m_logs);
            UtilsLib::Observer *observer = manager.getObserver();
            std::vector<std::jthread> threads; // joined before the logger goes
            for (int t = 0; t < 4; ++t) {
                threads.emplace_back([observer, t] {
                    UtilsLib::Observable source;
                    source.addObserver(observer);
                    for (int i = 0; i < 500; ++i)
                        UtilsLib::logEvent(&source, QString("Thread%1").arg(t), "T::run",
                                           UtilsLib::LogInfo, QString("event %1").arg(i));
                });
            }
        }
        const QStringList user = linesOf(m_logs + "/ondtpc-userlog.txt");
        QCOMPARE(user.size(), 2000);
        for (const QString &line : user)
            QVERIFY2(LinePattern.match(line).hasMatch() && line.contains(", T", Qt::CaseSensitive),
                     qPrintable(line));
    }

    void secondCopyFindsTheFirstAndPassesTexts()
    {
        QCOMPARE(runOnce(m_dir->path(), {"send", "anyone?"}), QString("failed"));
        Probe first(m_dir->path(), {"hold"});
        QCOMPARE(first.nextLine(), QString("ready"));

        Probe second(m_dir->path(), {"hold"});
        QCOMPARE(second.nextLine(), QString("running"));

        for (const QString text : {"hello", "", "Zoë € 😀"}) {
            QCOMPARE(runOnce(m_dir->path(), {"send", text}), QString("sent"));
            QCOMPARE(first.nextLine(), "received:" + text + " restored");
        }

        QCOMPARE(runOnce(m_dir->path(), {"send", "quit"}), QString("sent"));
        QVERIFY(first.finished());
        QCOMPARE(first.exitCode(), 0);
        // Once stopped, it no longer keeps the next copy from starting.
        Probe next(m_dir->path(), {"hold"});
        QCOMPARE(next.nextLine(), QString("ready"));
    }

    void crashedCopyDoesNotBlockTheNext()
    {
        Probe crashing(m_dir->path(), {"hold"});
        QCOMPARE(crashing.nextLine(), QString("ready"));
        crashing.crash();
        QVERIFY(crashing.finished());

        // The lock file and the socket file are still there, but their owner is dead.
        Probe next(m_dir->path(), {"hold"});
        QCOMPARE(next.nextLine(), QString("ready"));
        QCOMPARE(runOnce(m_dir->path(), {"send", "after crash"}), QString("sent"));
        QCOMPARE(next.nextLine(), QString("received:after crash restored"));
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_logs;
};

QTEST_GUILESS_MAIN(TestLogging)
#include "tst_logging.moc"
