#include "app/BuildVersionInfo.h"
#include "app/LinuxEnvironmentProvider.h"
#include "app/PcInfoProvider.h"
#include "app/SystemNetInfo.h"

#include <QHostAddress>
#include <QTemporaryDir>
#include <QtTest>

#include <stdexcept>

namespace {

class FakeProvider : public PcInfoProviderInterface
{
public:
    FakeProvider(bool remote, const QString &name, const QString &address, QStringList *calls)
        : m_remote(remote)
        , m_name(name)
        , m_address(address)
        , m_calls(calls)
    {}
    bool isRemoteSession() const override { return m_remote; }
    QString machineName() const override
    {
        m_calls->append(QStringLiteral("name"));
        return m_name;
    }
    QString machineAddress() const override
    {
        m_calls->append(QStringLiteral("address"));
        return m_address;
    }

private:
    bool m_remote;
    QString m_name;
    QString m_address;
    QStringList *m_calls;
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
    QString logFolder() const override { return QStringLiteral("/srv/ondtpc/logs"); }
    QString configFolder() const override { return QStringLiteral("/srv/ondtpc/config"); }
};

QProcessEnvironment environmentOf(const QStringList &assignments)
{
    QProcessEnvironment environment;
    for (const QString &assignment : assignments)
        environment.insert(assignment.section(QLatin1Char('='), 0, 0),
                           assignment.section(QLatin1Char('='), 1));
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
    void init();

    void remoteSessionIsDetected_data();
    void remoteSessionIsDetected();
    void remoteClientNameAndAddress_data();
    void remoteClientNameAndAddress();
    void remoteSessionWithoutClientThrows();
    void consoleIsTheWorkstationItself();

    void foldersFollowTheSession_data();
    void foldersFollowTheSession();
    void namesAreReadOnceAndReplaceable();
    void providerFailurePassesToTheCaller();

    void fileVersionFormat_data();
    void fileVersionFormat();
    void buildTextsComeFromTheProject();

private:
    std::unique_ptr<QTemporaryDir> m_sessions;
    void writeSession(const QString &id, const QString &contents);
};

void TestWorkstationInfo::init()
{
    m_sessions = std::make_unique<QTemporaryDir>();
    QVERIFY(m_sessions->isValid());
    writeSession(QStringLiteral("7"),
                 QStringLiteral("UID=1000\nREMOTE=1\nREMOTE_HOST=localhost\n"));
    writeSession(QStringLiteral("8"), QStringLiteral("UID=1000\nREMOTE=0\nTYPE=x11\n"));
    writeSession(QStringLiteral("9"), QStringLiteral("REMOTE=1\nREMOTE_HOST=127.0.0.1\n"));
    writeSession(QStringLiteral("10"), QStringLiteral("REMOTE=1\nREMOTE_HOST=\n"));
}

void TestWorkstationInfo::writeSession(const QString &id, const QString &contents)
{
    QFile file(m_sessions->filePath(id));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents.toUtf8());
}

void TestWorkstationInfo::remoteSessionIsDetected_data()
{
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<bool>("remote");

    QTest::newRow("console") << QStringList{QStringLiteral("XDG_SESSION_ID=8")} << false;
    QTest::newRow("ssh") << QStringList{QStringLiteral("SSH_CONNECTION=10.1.2.3 51000 10.1.2.4 22")}
                         << true;
    QTest::newRow("blank ssh") << QStringList{QStringLiteral("SSH_CONNECTION= ")} << false;
    QTest::newRow("xrdp") << QStringList{QStringLiteral("XRDP_SESSION=1")} << true;
    QTest::newRow("logind remote") << QStringList{QStringLiteral("XDG_SESSION_ID=7")} << true;
    QTest::newRow("unknown session") << QStringList{QStringLiteral("XDG_SESSION_ID=77")} << false;
    QTest::newRow("session id leaving the folder")
        << QStringList{QStringLiteral("XDG_SESSION_ID=../7")} << false;
}

void TestWorkstationInfo::remoteSessionIsDetected()
{
    QFETCH(QStringList, environment);
    QFETCH(bool, remote);
    const PcInfoProvider provider(environmentOf(environment), m_sessions->path());
    QCOMPARE(provider.isRemoteSession(), remote);
}

void TestWorkstationInfo::remoteClientNameAndAddress_data()
{
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("address");

    QTest::newRow("ssh peer") << QStringList{QStringLiteral(
                                     "SSH_CONNECTION=127.0.0.1 51000 127.0.0.1 22")}
                              << QStringLiteral("localhost") << QStringLiteral("127.0.0.1");
    QTest::newRow("ssh peer over IPv6")
        << QStringList{QStringLiteral("SSH_CONNECTION=::ffff:127.0.0.1 51000 ::1 22")}
        << QStringLiteral("localhost") << QStringLiteral("127.0.0.1");
    QTest::newRow("ssh wins over logind")
        << QStringList{QStringLiteral("SSH_CONNECTION=127.0.0.1 1 127.0.0.1 22"),
                       QStringLiteral("XDG_SESSION_ID=10")}
        << QStringLiteral("localhost") << QStringLiteral("127.0.0.1");
    QTest::newRow("logind host name") << QStringList{QStringLiteral("XDG_SESSION_ID=7")}
                                      << QStringLiteral("localhost") << QStringLiteral("127.0.0.1");
    QTest::newRow("logind address") << QStringList{QStringLiteral("XDG_SESSION_ID=9")}
                                    << QStringLiteral("localhost") << QStringLiteral("127.0.0.1");
}

void TestWorkstationInfo::remoteClientNameAndAddress()
{
    QFETCH(QStringList, environment);
    QFETCH(QString, name);
    QFETCH(QString, address);
    const PcInfoProvider provider(environmentOf(environment), m_sessions->path());
    QVERIFY(provider.isRemoteSession());
    QCOMPARE(provider.machineName(), name);
    QCOMPARE(provider.machineAddress(), address);
}

void TestWorkstationInfo::remoteSessionWithoutClientThrows()
{
    // An xrdp session that logind does not describe leaves nothing to name the client by.
    for (const QString &variable :
         {QStringLiteral("XRDP_SESSION=1"), QStringLiteral("XDG_SESSION_ID=10")}) {
        const PcInfoProvider provider(environmentOf({variable}), m_sessions->path());
        QVERIFY(provider.isRemoteSession());
        QCOMPARE(errorOf([&] { provider.machineName(); }),
                 QStringLiteral("PcInfoProvider::getSessionName -> WTSQuerySessionInformation "
                                "failed.  Last error="));
        QCOMPARE(errorOf([&] { provider.machineAddress(); }),
                 QStringLiteral("PcInfoProvider::getSessionIp -> WTSQuerySessionInformation "
                                "failed.  Last error="));
    }
}

void TestWorkstationInfo::consoleIsTheWorkstationItself()
{
    const PcInfoProvider provider(environmentOf({QStringLiteral("XDG_SESSION_ID=8")}),
                                  m_sessions->path());
    QVERIFY(!provider.isRemoteSession());
    QCOMPARE(provider.machineName(), LinuxEnvironmentProvider().computerName());
    QHostAddress address;
    QVERIFY2(address.setAddress(provider.machineAddress()), qPrintable(provider.machineAddress()));
    QCOMPARE(address.protocol(), QAbstractSocket::IPv4Protocol);
}

void TestWorkstationInfo::foldersFollowTheSession_data()
{
    QTest::addColumn<bool>("remote");
    QTest::addColumn<bool>("withSource");
    QTest::addColumn<QString>("logFolder");
    QTest::addColumn<QString>("configFolder");

    QTest::newRow("console") << false << false << QStringLiteral("./logs")
                             << QStringLiteral("./config");
    QTest::newRow("remote") << true << false << QStringLiteral("./logs/THIN42")
                            << QStringLiteral("./config/THIN42");
    QTest::newRow("console with source") << false << true << QStringLiteral("/srv/ondtpc/logs")
                                         << QStringLiteral("/srv/ondtpc/config");
    QTest::newRow("remote with source") << true << true << QStringLiteral("/srv/ondtpc/logs/THIN42")
                                        << QStringLiteral("/srv/ondtpc/config/THIN42");
}

void TestWorkstationInfo::foldersFollowTheSession()
{
    QFETCH(bool, remote);
    QFETCH(bool, withSource);
    QStringList calls;
    const FixedFolders folders;
    const SystemNetInfo info(std::make_unique<FakeProvider>(remote, QStringLiteral("THIN42"),
                                                            QStringLiteral("10.0.0.42"), &calls),
                             withSource ? &folders : nullptr);
    QTEST(info.logFolder(), "logFolder");
    QTEST(info.configFolder(), "configFolder");
}

void TestWorkstationInfo::namesAreReadOnceAndReplaceable()
{
    QStringList calls;
    SystemNetInfo info(std::make_unique<FakeProvider>(false, QStringLiteral("WS7"),
                                                      QStringLiteral("10.0.0.7"), &calls),
                       nullptr);
    QCOMPARE(calls, (QStringList{QStringLiteral("address"), QStringLiteral("name")}));
    QCOMPARE(info.entryName(), QStringLiteral("systemNetInfo"));
    QCOMPARE(info.name(), QStringLiteral("WS7"));
    QCOMPARE(info.address(), QStringLiteral("10.0.0.7"));
    info.setName(QStringLiteral("WS8"));
    info.setAddress(QStringLiteral("10.0.0.8"));
    QCOMPARE(info.name(), QStringLiteral("WS8"));
    QCOMPARE(info.address(), QStringLiteral("10.0.0.8"));
    QCOMPARE(calls.size(), 2);
}

void TestWorkstationInfo::providerFailurePassesToTheCaller()
{
    QCOMPARE(errorOf([] { SystemNetInfo info(std::make_unique<ThrowingProvider>(), nullptr); }),
             QStringLiteral("no address"));
}

void TestWorkstationInfo::fileVersionFormat_data()
{
    QTest::addColumn<QList<int>>("parts");
    QTest::addColumn<QString>("text");
    QTest::newRow("5.1.2.37") << QList<int>{5, 1, 2, 37} << QStringLiteral("05.01.02.0037");
    QTest::newRow("1.0.0.1") << QList<int>{1, 0, 0, 1} << QStringLiteral("01.00.00.0001");
    QTest::newRow("wide parts") << QList<int>{123, 45, 6, 78901}
                                << QStringLiteral("123.45.06.78901");
}

void TestWorkstationInfo::fileVersionFormat()
{
    QFETCH(QList<int>, parts);
    QTEST(BuildVersionInfo::formatFileVersion(parts[0], parts[1], parts[2], parts[3]), "text");
}

void TestWorkstationInfo::buildTextsComeFromTheProject()
{
    const BuildVersionInfo info;
    const QStringList parts = QStringLiteral(ONDTPC_PROJECT_VERSION).split(QLatin1Char('.'));
    QCOMPARE(parts.size(), 4);
    QCOMPARE(info.fileVersion(),
             BuildVersionInfo::formatFileVersion(parts[0].toInt(), parts[1].toInt(),
                                                 parts[2].toInt(), parts[3].toInt()));
    QCOMPARE(info.fileDescription(), QStringLiteral("Ondrel Laptop Print Client"));
    QVERIFY(!info.companyName().isEmpty());
    QVERIFY(info.copyright().contains(QStringLiteral("©")));
    QVERIFY(!info.productName().isEmpty());
    QCOMPARE(info.executableBaseName(), QStringLiteral("tst_workstationinfo"));
}

QTEST_GUILESS_MAIN(TestWorkstationInfo)
#include "tst_workstationinfo.moc"
