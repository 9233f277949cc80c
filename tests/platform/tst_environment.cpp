#include "core/AppFolders.h"
#include "core/JqeTimeSource.h"
#include "platform/LinuxEnvironmentProvider.h"

#include <QtTest>

#include <unistd.h>

using Brindlecore::Core::JqeTimeSource;
using Brindlecore::Core::TimeSourceInterface;

namespace {

class FixedClock : public TimeSourceInterface
{
public:
    explicit FixedClock(const QDateTime &now)
        : m_now(now)
    {}
    QDateTime currentDateTime() const override { return m_now; }

private:
    QDateTime m_now;
};

class EnvironmentGuard
{
public:
    explicit EnvironmentGuard(const char *name)
        : m_name(name)
        , m_had(qEnvironmentVariableIsSet(name))
        , m_value(qgetenv(name))
    {}
    ~EnvironmentGuard()
    {
        if (m_had)
            qputenv(m_name, m_value);
        else
            qunsetenv(m_name);
    }

private:
    const char *m_name;
    bool m_had;
    QByteArray m_value;
};

} // namespace

class TestEnvironment : public QObject
{
    Q_OBJECT

private slots:
    void timestampUsesTheFormat();
    void jqeTimeSourceIsTheLocalClock();
    void clientServiceIsAUnitFile();
    void namesAreReadable();
    void foldersFollowTheTemplates();
    void perUserStateFolderIsTheFallback();
    void unusableStateFolderGivesEmptyPaths();
};

void TestEnvironment::timestampUsesTheFormat()
{
    FixedClock clock(QDateTime(QDate(2025, 4, 3), QTime(7, 8, 9)));
    QCOMPARE(clock.format(), QString("yyyyMMddhhmmss"));
    QCOMPARE(clock.timestamp(), QString("20250403070809"));

    FixedClock afternoon(QDateTime(QDate(2024, 12, 31), QTime(23, 59, 58)));
    QCOMPARE(afternoon.timestamp(), QString("20241231235958"));

    clock.setFormat("yyyy-MM-dd");
    QCOMPARE(clock.timestamp(), QString("2025-04-03"));
}

void TestEnvironment::jqeTimeSourceIsTheLocalClock()
{
    JqeTimeSource source;
    QCOMPARE(source.entryName(), QString("timeSource"));
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    const QDateTime parsed = QDateTime::fromString(source.timestamp(), "yyyyMMddhhmmss");
    QVERIFY(parsed.isValid());
    QVERIFY(parsed >= before.addSecs(-1));
    QVERIFY(parsed <= QDateTime::currentDateTime());
}

void TestEnvironment::clientServiceIsAUnitFile()
{
    QTemporaryDir units;
    QVERIFY(units.isValid());
    LinuxEnvironmentProvider provider(QStringList{units.path() + "/missing", units.path()});
    QVERIFY(!provider.isClientServiceInstalled());

    QFile unit(units.filePath("ondclient.service"));
    QVERIFY(unit.open(QIODevice::WriteOnly));
    unit.close();
    QVERIFY(provider.isClientServiceInstalled());

    LinuxEnvironmentProvider nowhere(QStringList{});
    QVERIFY(!nowhere.isClientServiceInstalled());
}

void TestEnvironment::namesAreReadable()
{
    LinuxEnvironmentProvider provider;
    QVERIFY(!provider.userName().isEmpty());
    const QString computer = provider.computerName();
    QVERIFY(!computer.isEmpty());
    QVERIFY2(!computer.contains('.'), qPrintable(computer));
    QCOMPARE(provider.isDomainMember(), !provider.domainName().isEmpty());
}

void TestEnvironment::foldersFollowTheTemplates()
{
    EnvironmentGuard guard("ONDTPC_COMMON_APPDATA");
    qputenv("ONDTPC_COMMON_APPDATA", "/srv/shared/");
    QCOMPARE(AppFolders::commonAppData(), QString("/srv/shared"));
    QCOMPARE(AppFolders::dataFolder(AppFolders::ClientSubPath),
             QString("/srv/shared/Brindlecore/ondrel/ondclient/ondtpc"));
    QCOMPARE(AppFolders::logFolder(AppFolders::ClientSubPath),
             QString("/srv/shared/Brindlecore/ondrel/ondclient/ondtpc/logs"));
    QCOMPARE(AppFolders::languageFolder("x/y"), QString("/srv/shared/Brindlecore/x/y/languages"));
}

void TestEnvironment::perUserStateFolderIsTheFallback()
{
    if (QFileInfo("/var/lib/Brindlecore").isDir())
        QSKIP("an installed client's /var/lib/Brindlecore takes precedence on this machine");
    EnvironmentGuard appData("ONDTPC_COMMON_APPDATA");
    EnvironmentGuard state("XDG_STATE_HOME");
    QTemporaryDir dir;
    qunsetenv("ONDTPC_COMMON_APPDATA");
    qputenv("XDG_STATE_HOME", dir.path().toUtf8());

    QCOMPARE(AppFolders::commonAppData(), dir.path());
    QVERIFY(QFileInfo(dir.filePath("Brindlecore")).isDir());
    QCOMPARE(AppFolders::logFolder("p"), dir.path() + "/Brindlecore/p/logs");
}

void TestEnvironment::unusableStateFolderGivesEmptyPaths()
{
    if (QFileInfo("/var/lib/Brindlecore").isDir())
        QSKIP("an installed client's /var/lib/Brindlecore takes precedence on this machine");
    EnvironmentGuard appData("ONDTPC_COMMON_APPDATA");
    EnvironmentGuard state("XDG_STATE_HOME");
    QTemporaryDir dir;
    QFile blocker(dir.filePath("file"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qunsetenv("ONDTPC_COMMON_APPDATA");
    // A regular file where the folder should be: nothing can be created below it.
    qputenv("XDG_STATE_HOME", dir.filePath("file").toUtf8());

    QCOMPARE(AppFolders::commonAppData(), QString());
    QCOMPARE(AppFolders::logFolder(AppFolders::ClientSubPath), QString());
    QCOMPARE(AppFolders::dataFolder(AppFolders::ClientSubPath), QString());
}

QTEST_GUILESS_MAIN(TestEnvironment)
#include "tst_environment.moc"
