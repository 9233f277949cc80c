#include "core/AppFolders.h"
#include "core/JqeTimeSource.h"
#include "platform/LinuxEnvironmentProvider.h"

#include "FixedTimeSource.h"

#include <QtTest>

using Brindlecore::Core::JqeTimeSource;

namespace {

// Puts the variables back as they were when it goes.
class EnvironmentGuard
{
public:
    explicit EnvironmentGuard(std::initializer_list<const char *> names)
    {
        for (const char *name : names)
            m_saved.append({name, qEnvironmentVariableIsSet(name), qgetenv(name)});
    }
    ~EnvironmentGuard()
    {
        for (const auto &[name, had, value] : m_saved)
            had ? qputenv(name, value) : qunsetenv(name);
    }

private:
    QList<std::tuple<const char *, bool, QByteArray>> m_saved;
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
    FixedTimeSource clock(QDateTime(QDate(2024, 12, 31), QTime(23, 59, 58)));
    QCOMPARE(clock.timestamp(), QString("20241231235958"));
    clock.setFormat("yyyy-MM-dd");
    QCOMPARE(clock.timestamp(), QString("2024-12-31"));
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
    EnvironmentGuard guard{"ONDTPC_COMMON_APPDATA"};
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
    EnvironmentGuard guard{"ONDTPC_COMMON_APPDATA", "XDG_STATE_HOME"};
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
    EnvironmentGuard guard{"ONDTPC_COMMON_APPDATA", "XDG_STATE_HOME"};
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
