#include "app/BuildVersionInfo.h"
#include "app/LinuxEnvironmentProvider.h"
#include "app/PcInfoProvider.h"
#include "app/SystemNetInfo.h"

#include <QHostAddress>
#include <QTemporaryDir>
#include <QtTest>

#include <stdexcept>

namespace {

// The remote flag can change after construction; every name or address read is recorded.
struct FakeWorkstation
{
    bool remote = false;
    QStringList reads;
};

class FakeProvider : public PcInfoProviderInterface
{
public:
    explicit FakeProvider(FakeWorkstation *workstation)
        : m_workstation(workstation)
    {}
    bool isRemoteSession() const override { return m_workstation->remote; }
    QString machineName() const override
    {
        m_workstation->reads.append("name");
        return "THIN42";
    }
    QString machineAddress() const override
    {
        m_workstation->reads.append("address");
        return "10.0.0.42";
    }

private:
    FakeWorkstation *m_workstation;
};

class ThrowingProvider : public PcInfoProviderInterface
{
public:
    bool isRemoteSession() const override { return true; }
    QString machineName() const override { throw std::runtime_error("no name"); }
    QString machineAddress() const override { throw std::runtime_error("no address"); }
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
            QFile file(m_sessions->filePath(id));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size());
        }
    }

    void remoteSessionIsDetected_data()
    {
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<bool>("remote");

        QTest::newRow("console") << QStringList{"XDG_SESSION_ID=8"} << false;
        QTest::newRow("ssh") << QStringList{"SSH_CONNECTION=10.1.2.3 51000 10.1.2.4 22"} << true;
        QTest::newRow("blank ssh") << QStringList{"SSH_CONNECTION= "} << false;
        QTest::newRow("xrdp") << QStringList{"XRDP_SESSION=1"} << true;
        QTest::newRow("logind remote") << QStringList{"XDG_SESSION_ID=7"} << true;
        QTest::newRow("unknown session") << QStringList{"XDG_SESSION_ID=77"} << false;
        QTest::newRow("session id leaving the folder")
            << QStringList{"XDG_SESSION_ID=../7"} << false;
    }
    void remoteSessionIsDetected()
    {
        QFETCH(QStringList, environment);
        QFETCH(bool, remote);
        const PcInfoProvider provider(environmentOf(environment), m_sessions->path());
        QCOMPARE(provider.isRemoteSession(), remote);
    }
    // The client is the SSH peer, else logind's remote host; 127.0.0.1 is named "localhost".
    void remoteClientNameAndAddress_data()
    {
        QTest::addColumn<QStringList>("environment");
        QTest::newRow("ssh peer") << QStringList{"SSH_CONNECTION=127.0.0.1 51000 127.0.0.1 22"};
        QTest::newRow("ssh peer over IPv6")
            << QStringList{"SSH_CONNECTION=::ffff:127.0.0.1 51000 ::1 22"};
        QTest::newRow("ssh wins over logind")
            << QStringList{"SSH_CONNECTION=127.0.0.1 1 127.0.0.1 22", "XDG_SESSION_ID=10"};
        QTest::newRow("logind host name") << QStringList{"XDG_SESSION_ID=7"};
        QTest::newRow("logind address") << QStringList{"XDG_SESSION_ID=9"};
    }
    void remoteClientNameAndAddress()
    {
        QFETCH(QStringList, environment);
        const PcInfoProvider provider(environmentOf(environment), m_sessions->path());
        QVERIFY(provider.isRemoteSession());
        QCOMPARE(provider.machineName(), "localhost");
        QCOMPARE(provider.machineAddress(), "127.0.0.1");
    }
    void remoteSessionWithoutClientThrows()
    {
        // An xrdp session that logind does not describe leaves nothing to name the client by.
        for (const char *variable : {"XRDP_SESSION=1", "XDG_SESSION_ID=10"}) {
            const PcInfoProvider provider(environmentOf({variable}), m_sessions->path());
            QVERIFY(provider.isRemoteSession());
            const QString failed = " -> WTSQuerySessionInformation failed.  Last error=";
            QCOMPARE(errorOf([&] { provider.machineName(); }),
                     "PcInfoProvider::getSessionName" + failed);
            QCOMPARE(errorOf([&] { provider.machineAddress(); }),
                     "PcInfoProvider::getSessionIp" + failed);
        }
    }
    void consoleIsTheWorkstationItself()
    {
        const PcInfoProvider provider(environmentOf({"XDG_SESSION_ID=8"}), m_sessions->path());
        QVERIFY(!provider.isRemoteSession());
        QCOMPARE(provider.machineName(), LinuxEnvironmentProvider().computerName());
        QHostAddress address;
        QVERIFY2(address.setAddress(provider.machineAddress()),
                 qPrintable(provider.machineAddress()));
        QCOMPARE(address.protocol(), QAbstractSocket::IPv4Protocol);
    }

    void foldersFollowTheSession_data()
    {
        QTest::addColumn<bool>("remote");
        QTest::addColumn<bool>("withSource");
        QTest::addColumn<QString>("logFolder");
        QTest::addColumn<QString>("configFolder");

        QTest::newRow("console") << false << false << "./logs"
                                 << "./config";
        QTest::newRow("remote") << true << false << "./logs/THIN42"
                                << "./config/THIN42";
        QTest::newRow("console with source") << false << true << "/srv/ondtpc/logs"
                                             << "/srv/ondtpc/config";
        QTest::newRow("remote with source") << true << true << "/srv/ondtpc/logs/THIN42"
                                            << "/srv/ondtpc/config/THIN42";
    }
    void foldersFollowTheSession()
    {
        QFETCH(bool, remote);
        QFETCH(bool, withSource);
        FakeWorkstation workstation;
        const FixedFolders folders;
        const SystemNetInfo info(std::make_unique<FakeProvider>(&workstation),
                                 withSource ? &folders : nullptr);
        // Name and address are read once; whether the session is remote is asked every time.
        QCOMPARE(workstation.reads, (QStringList{"address", "name"}));
        QCOMPARE(info.name(), "THIN42");
        QCOMPARE(info.address(), "10.0.0.42");
        workstation.remote = remote;
        QTEST(info.logFolder(), "logFolder");
        QTEST(info.configFolder(), "configFolder");
    }
    void providerFailurePassesToTheCaller()
    {
        QCOMPARE(errorOf([] { SystemNetInfo info(std::make_unique<ThrowingProvider>(), nullptr); }),
                 "no address");
    }

    void fileVersionFormat_data()
    {
        QTest::addColumn<QList<int>>("parts");
        QTest::addColumn<QString>("text");
        QTest::newRow("5.1.2.37") << QList<int>{5, 1, 2, 37} << "05.01.02.0037";
        QTest::newRow("1.0.0.1") << QList<int>{1, 0, 0, 1} << "01.00.00.0001";
        QTest::newRow("wide parts") << QList<int>{123, 45, 6, 78901} << "123.45.06.78901";
    }
    void fileVersionFormat()
    {
        QFETCH(QList<int>, parts);
        QTEST(BuildVersionInfo::formatFileVersion(parts[0], parts[1], parts[2], parts[3]), "text");
    }
    void buildTextsComeFromTheProject()
    {
        const BuildVersionInfo info;
        const QStringList parts = QStringLiteral(ONDTPC_PROJECT_VERSION).split('.');
        QCOMPARE(parts.size(), 4);
        QCOMPARE(info.fileVersion(),
                 BuildVersionInfo::formatFileVersion(parts[0].toInt(), parts[1].toInt(),
                                                     parts[2].toInt(), parts[3].toInt()));
        QCOMPARE(info.fileDescription(), "Ondrel Laptop Print Client");
        QVERIFY(info.copyright().contains("©"));
        QCOMPARE(info.executableBaseName(), "tst_workstationinfo");
    }

private:
    std::unique_ptr<QTemporaryDir> m_sessions;
};

QTEST_GUILESS_MAIN(TestWorkstationInfo)
#include "tst_workstationinfo.moc"
