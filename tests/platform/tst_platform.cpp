#include "core/AppFolders.h"
#include "core/SystemNetInfo.h"
#include "platform/BuildVersionInfo.h"
#include "platform/LinuxEnvironmentProvider.h"
#include "platform/PcInfoProvider.h"
#include "platform/UnixSignalNotifier.h"

#include "FileBytes.h"

#include <QHostAddress>
#include <QtTest>

#include <csignal>
#include <stdexcept>

namespace {

// Whether the session is remote can change after construction; every name or address read is
// recorded.
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

QProcessEnvironment environmentOf(const QStringList &assignments)
{
    QProcessEnvironment environment;
    for (const QString &assignment : assignments)
        environment.insert(assignment.section('=', 0, 0), assignment.section('=', 1));
    return environment;
}

QString errorOf(const std::function<void()> &call)
{
    try {
        call();
    } catch (const std::runtime_error &error) {
        return QString::fromStdString(error.what());
    }
    return QString();
}

} // namespace

// The workstation, its environment and signals. Each test sets the variables it depends on, so
// their order does not matter.
class TestWorkstationInfo : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_sessions = std::make_unique<QTemporaryDir>();
        const QList<QPair<QString, QByteArray>> sessions{
            {"7", "UID=1000\nREMOTE=1\nREMOTE_HOST=localhost\n"},
            {"8", "UID=1000\nREMOTE=0\nTYPE=x11\n"},
            {"9", "REMOTE=1\nREMOTE_HOST=127.0.0.1\n"},
            {"10", "REMOTE=1\nREMOTE_HOST=\n"}};
        for (const auto &[id, contents] : sessions) {
            QVERIFY(writeFile(m_sessions->filePath(id), contents));
        }
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
        const PcInfoProvider provider(environmentOf(environment), m_sessions->path());
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
        QCOMPARE(info.fileDescription(), "Ondrel Laptop Print Client");
        QVERIFY(info.copyright().contains("©"));
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

    // The client's log folder is where the end-to-end tests read its logs; the folders' own
    // templates are checked below with the state folder.
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

private:
    std::unique_ptr<QTemporaryDir> m_sessions;
};

QTEST_GUILESS_MAIN(TestWorkstationInfo)
#include "tst_workstationinfo.moc"
