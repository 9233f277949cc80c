#include "core/AppFolders.h"
#include "core/SystemNetInfo.h"
#include "platform/BuildVersionInfo.h"
#include "platform/LinuxEnvironmentProvider.h"
#include "platform/LinuxProcessManager.h"
#include "platform/PcInfoProvider.h"
#include "platform/UnixSignalNotifier.h"

#include "FileBytes.h"

#include <QHostAddress>
#include <QtTest>

#include <csignal>
#include <stdexcept>

namespace {

// Remoteness may change after construction; every name or address read is recorded.
class FakeProvider : public PcInfoProviderInterface
{
public:
    bool isRemoteSession() const override { return remote; }
    QString machineName() const override
    {
        reads.append("name");
        return "THIN42";
    }
    QString machineAddress() const override
    {
        if (fails)
            throw std::runtime_error("no address");
        reads.append("address");
        return "10.0.0.42";
    }

    bool remote = false;
    bool fails = false;
    mutable QStringList reads;
};

class FixedFolders : public FolderSourceInterface
{
public:
    QString logFolder() const override { return "/srv/ondtpc/logs"; }
    QString configFolder() const override { return "/srv/ondtpc/config"; }
};

QString errorOf(const std::function<void()> &call)
{
    try {
        call();
    } catch (const std::runtime_error &error) {
        return QString::fromStdString(error.what());
    }
    return QString();
}

// Pids of the processes with this executable base name that belong to us and still run.
QList<qint64> runningPids(const QString &name)
{
    QList<qint64> pids;
    const QStringList entries = QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool isNumber = false;
        const qint64 pid = entry.toLongLong(&isNumber);
        if (!isNumber)
            continue;
        const QString exe = QFile::symLinkTarget(QString("/proc/%1/exe").arg(pid));
        // A zombie has ended, and a process without a stat has gone meanwhile.
        const QByteArray stat = readFile(QString("/proc/%1/stat").arg(pid));
        const bool running = !stat.isEmpty() && stat.mid(stat.lastIndexOf(") ") + 2, 1) != "Z";
        if (running && QFileInfo(exe).fileName() == name)
            pids.append(pid);
    }
    return pids;
}

} // namespace

// The workstation, its environment, signals and processes; each test sets the variables it needs.
class TestPlatform : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_names.clear();
        const QList<QPair<QString, QByteArray>> sessions{
            {"7", "UID=1000\nREMOTE=1\nREMOTE_HOST=localhost\n"},
            {"8", "UID=1000\nREMOTE=0\nTYPE=x11\n"},
            {"9", "REMOTE=1\nREMOTE_HOST=127.0.0.1\n"},
            {"10", "REMOTE=1\nREMOTE_HOST=\n"}};
        for (const auto &[id, contents] : sessions) {
            QVERIFY(writeFile(m_dir->filePath(id), contents));
        }
    }

    void cleanup()
    {
        for (const QString &name : std::as_const(m_names)) {
            for (qint64 pid : runningPids(name))
                ::kill(static_cast<pid_t>(pid), SIGKILL);
        }
        m_dir.reset();
    }

    // client: empty for a console session (the workstation itself), "localhost" for a remote
    // one from 127.0.0.1 (the SSH peer, else logind's remote host), "none" when nothing names it.
    void sessionAndClient_data()
    {
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<QString>("client");
        auto row = [](const char *name, QStringList environment, const char *client) {
            QTest::newRow(name) << environment << client;
        };
        row("console", {"XDG_SESSION_ID=8"}, "");
        row("blank ssh", {"SSH_CONNECTION= "}, "");
        row("unknown session", {"XDG_SESSION_ID=77"}, "");
        row("session id leaving the folder", {"XDG_SESSION_ID=../7"}, "");
        row("ssh peer", {"SSH_CONNECTION=127.0.0.1 51000 127.0.0.1 22"}, "localhost");
        row("ssh peer over IPv6", {"SSH_CONNECTION=::ffff:127.0.0.1 51000 ::1 22"}, "localhost");
        row("ssh wins over logind",
            {"SSH_CONNECTION=127.0.0.1 1 127.0.0.1 22", "XDG_SESSION_ID=10"}, "localhost");
        row("logind host name", {"XDG_SESSION_ID=7"}, "localhost");
        row("logind address", {"XDG_SESSION_ID=9"}, "localhost");
        row("xrdp without logind", {"XRDP_SESSION=1"}, "none");
        row("logind without host", {"XDG_SESSION_ID=10"}, "none");
    }
    void sessionAndClient()
    {
        QFETCH(QStringList, environment);
        QFETCH(QString, client);
        QProcessEnvironment variables;
        for (const QString &assignment : environment)
            variables.insert(assignment.section('=', 0, 0), assignment.section('=', 1));
        const PcInfoProvider provider(variables, m_dir->path());
        QCOMPARE(provider.isRemoteSession(), !client.isEmpty());
        if (client.isEmpty()) {
            QCOMPARE(provider.machineName(), LinuxEnvironmentProvider().computerName());
            const QHostAddress address(provider.machineAddress());
            QCOMPARE(address.protocol(), QAbstractSocket::IPv4Protocol);
        } else if (client == "none") {
            const QString failed = " -> WTSQuerySessionInformation failed.  Last error=";
            QCOMPARE(errorOf([&] { provider.machineName(); }),
                     "PcInfoProvider::getSessionName" + failed);
            QCOMPARE(errorOf([&] { provider.machineAddress(); }),
                     "PcInfoProvider::getSessionIp" + failed);
        } else {
            QCOMPARE(provider.machineName(), client);
            QCOMPARE(provider.machineAddress(), "127.0.0.1");
        }
    }

    void foldersFollowTheSession()
    {
        const FixedFolders folders;
        for (const FolderSourceInterface *source :
             std::initializer_list<const FolderSourceInterface *>{nullptr, &folders}) {
            auto provider = std::make_unique<FakeProvider>();
            FakeProvider &workstation = *provider;
            const SystemNetInfo info(std::move(provider), source);
            // Name and address are read once; whether the session is remote is asked each time.
            QCOMPARE(info.name() + " " + info.address(), "THIN42 10.0.0.42");
            QCOMPARE(workstation.reads, (QStringList{"address", "name"}));
            const QString base = source ? "/srv/ondtpc/" : "./";
            QCOMPARE(info.logFolder() + " " + info.configFolder(),
                     base + "logs " + base + "config");
            workstation.remote = true;
            QCOMPARE(info.logFolder() + " " + info.configFolder(),
                     base + "logs/THIN42 " + base + "config/THIN42");
        }
        auto failing = std::make_unique<FakeProvider>();
        failing->fails = true;
        QCOMPARE(errorOf([&] { SystemNetInfo(std::move(failing), nullptr); }), "no address");
    }

    void versionTextsComeFromTheProject()
    {
        // Each part is zero-padded to its width; wider parts are kept whole.
        QCOMPARE(BuildVersionInfo::formatFileVersion(5, 1, 2, 37), "05.01.02.0037");
        QCOMPARE(BuildVersionInfo::formatFileVersion(123, 45, 6, 78901), "123.45.06.78901");
        const BuildVersionInfo info;
        const QStringList parts = QStringLiteral(ONDTPC_PROJECT_VERSION).split('.');
        QCOMPARE(parts.size(), 4);
        QCOMPARE(info.fileVersion(),
                 BuildVersionInfo::formatFileVersion(parts[0].toInt(), parts[1].toInt(),
                                                     parts[2].toInt(), parts[3].toInt()));
        QVERIFY(info.copyright().contains("©")); // read as UTF-8
    }

    void clientServiceIsAUnitFile()
    {
        QTemporaryDir units;
        QVERIFY(units.isValid());
        LinuxEnvironmentProvider provider(QStringList{units.path() + "/missing", units.path()});
        QVERIFY(!provider.isClientServiceInstalled());
        QVERIFY(writeFile(units.filePath("ondclient.service"), {}));
        QVERIFY(provider.isClientServiceInstalled());
        QVERIFY(!LinuxEnvironmentProvider(QStringList{}).isClientServiceInstalled());
    }

    // The log folder is where the end-to-end tests read the logs; the templates are checked below.
    void foldersFollowTheTemplates()
    {
        qputenv("ONDTPC_COMMON_APPDATA", "/srv/shared/");
        QCOMPARE(AppFolders::commonAppData(), QString("/srv/shared"));
        QCOMPARE(AppFolders::languageFolder("x/y"),
                 QString("/srv/shared/Brindlecore/x/y/languages"));
    }

    void perUserStateFolderIsTheFallback_data()
    {
        QTest::addColumn<bool>("usable");
        QTest::newRow("state folder") << true;
        // A regular file where the folder should be: nothing can be created below it.
        QTest::newRow("a file in its place") << false;
    }
    void perUserStateFolderIsTheFallback()
    {
        QFETCH(bool, usable);
        if (QFileInfo("/var/lib/Brindlecore").isDir())
            QSKIP("an installed client's /var/lib/Brindlecore takes precedence on this machine");
        QTemporaryDir dir;
        const QString state = usable ? dir.path() : dir.filePath("file");
        QVERIFY(usable || writeFile(state, {}));
        qunsetenv("ONDTPC_COMMON_APPDATA");
        qputenv("XDG_STATE_HOME", state.toUtf8());

        QCOMPARE(AppFolders::commonAppData(), usable ? state : QString());
        QCOMPARE(QFileInfo(state + "/Brindlecore").isDir(), usable);
        QCOMPARE(AppFolders::logFolder("p"), usable ? state + "/Brindlecore/p/logs" : QString());
        QCOMPARE(AppFolders::dataFolder("p"), usable ? state + "/Brindlecore/p" : QString());
    }

    void signalsArriveInTheEventLoop()
    {
        {
            UnixSignalNotifier notifier({SIGTERM, SIGINT, SIGHUP});
            QVERIFY(notifier.isActive());
            // A second notifier in the same process refuses to take over.
            UnixSignalNotifier second({SIGUSR1});
            QVERIFY(!second.isActive());

            QSignalSpy spy(&notifier, &UnixSignalNotifier::signalReceived);
            ::raise(SIGTERM);
            ::raise(SIGHUP);
            QTRY_COMPARE_WITH_TIMEOUT(spy.size(), 2, 5000);
            QCOMPARE(spy.at(0).at(0).toInt(), int(SIGTERM));
            QCOMPARE(spy.at(1).at(0).toInt(), int(SIGHUP));
        }
        // Once the notifier is gone the default disposition is back, and a new one can start.
        struct sigaction current
        {};
        QCOMPARE(::sigaction(SIGTERM, nullptr, &current), 0);
        QVERIFY(current.sa_handler == SIG_DFL);
        UnixSignalNotifier again({SIGUSR1});
        QVERIFY(again.isActive());
    }

    void commandLineQuotesEveryFurtherPart()
    {
        QCOMPARE(LinuxProcessManager::commandLine({"/opt/tool -x"}), "/opt/tool -x");
        QCOMPARE(LinuxProcessManager::commandLine({"/opt/tool", "a b", "", "c"}),
                 "/opt/tool \"a b\" \"\" \"c\"");
        QCOMPARE(LinuxProcessManager::commandLine({}), "");
    }

    void startPassesEachPartAsOneArgumentAndUnknownsFail()
    {
        const QString script = m_dir->filePath("args.sh");
        const QString output = m_dir->filePath("args.txt");
        QVERIFY(writeFile(script, "#!/bin/sh\nout=$1; shift\nfor a in \"$@\"; do printf '[%s]\\n' "
                                  "\"$a\"; done > \"$out.tmp\"\nmv \"$out.tmp\" \"$out\"\n"));
        QFile::setPermissions(script, QFileDevice::ReadOwner | QFileDevice::ExeOwner);

        LinuxProcessManager manager;
        QVERIFY(manager.startProcess(QStringList{script, output, "two words", "", "ünï"}));
        QVERIFY(QTest::qWaitFor([&] { return QFile::exists(output); }));
        QCOMPARE(QString::fromUtf8(readFile(output)), QString("[two words]\n[]\n[ünï]\n"));
        // Empty or missing commands fail, as do unknown names.
        QVERIFY(!manager.startProcess(QStringList{}));
        QVERIFY(!manager.startProcess(QString()));
        QVERIFY(!manager.startProcess(m_dir->filePath("missing-program")));
        QVERIFY(!manager.stopProcess("no-such-program-ondtpc-test", 0));
        QVERIFY(!manager.restartProcess("no-such-program-ondtpc-test", 0));
    }

    void stopAsksPolitelyFirst_data()
    {
        QTest::addColumn<QString>("onTerm"); // the shell's trap for SIGTERM
        QTest::addColumn<int>("timeoutMs");
        QTest::addColumn<bool>("asked"); // the trap ran

        QTest::newRow("polite request heeded") << "touch %1; exit 0" << 30000 << true;
        QTest::newRow("polite request ignored, then killed") << "" << 200 << false;
        QTest::newRow("time-out 0 kills at once") << "touch %1; exit 0" << 0 << false;
    }
    void stopAsksPolitelyFirst()
    {
        QFETCH(QString, onTerm);
        QFETCH(int, timeoutMs);
        QFETCH(bool, asked);
        // A shell that writes a mark when asked to end shows the polite request arrived; it says
        // it is ready (with its pid) only once its trap is set, as a request before that would
        // end it unmarked.
        const QString shell = copyProgram("/bin/sh", "ondtpc-stop");
        const QString mark = m_dir->filePath("terminated");
        const QString ready = m_dir->filePath("ready");
        LinuxProcessManager manager;
        QVERIFY(manager.startProcess(
            QStringList{shell, "-c",
                        QString("trap '%1' TERM; echo $$ > %2; while :; do sleep 0.05; done")
                            .arg(onTerm.replace("%1", mark), ready)}));
        const QString name = QFileInfo(shell).fileName();
        QVERIFY(QTest::qWaitFor([&] { return readFile(ready).endsWith('\n'); }));
        const qint64 pid = readFile(ready).trimmed().toLongLong();

        QVERIFY(manager.stopProcess(name.toUpper(), timeoutMs));
        // The shell is gone; a child it forked to run sleep may carry its name until the exec.
        QVERIFY(!runningPids(name).contains(pid));
        QCOMPARE(QFile::exists(mark), asked);
    }

    void restartRunsTheSameExecutableAgain()
    {
        const QString probe = copyProgram(PROCESS_PROBE, "ondtpc probe");
        const QString name = QFileInfo(probe).fileName();
        const QString mark = m_dir->filePath("starts");
        qputenv("ONDTPC_PROBE_MARK", mark.toLocal8Bit());
        LinuxProcessManager manager;
        QList<QByteArray> lines;
        const auto startsNoted = [&](int count) {
            return QTest::qWaitFor([&] {
                lines = readFile(mark).trimmed().split('\n');
                return lines.size() == count && !lines.last().isEmpty();
            });
        };
        QVERIFY(manager.startProcess(QStringList{'"' + probe + '"', "30"}));
        // Running is not enough: a copy stopped before it noted its pid would leave one line only.
        QVERIFY(startsNoted(1));

        QVERIFY(manager.restartProcess(name, 2000));
        // The new copy notes its pid once it runs; the old one is gone by then.
        QVERIFY(startsNoted(2));
        QCOMPARE(runningPids(name), QList<qint64>{lines.last().toLongLong()});
        qunsetenv("ONDTPC_PROBE_MARK");
    }

private:
    // A private, executable copy of a program under a name no other process has.
    QString copyProgram(const QString &source, const QString &prefix)
    {
        const QString name = QString("%1-%2-%3")
                                 .arg(prefix)
                                 .arg(QCoreApplication::applicationPid())
                                 .arg(m_names.size());
        const QString path = m_dir->filePath(name);
        if (!QFile::copy(source, path))
            return QString();
        m_names.append(name);
        return path;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QStringList m_names;
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
