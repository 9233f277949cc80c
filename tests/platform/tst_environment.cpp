#include "core/AppFolders.h"
#include "platform/LinuxEnvironmentProvider.h"

#include "FileBytes.h"

#include <QtTest>

// Each test sets the variables it depends on, so their order does not matter.
class TestEnvironment : public QObject
{
    Q_OBJECT

private slots:
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
};

QTEST_GUILESS_MAIN(TestEnvironment)
#include "tst_environment.moc"
