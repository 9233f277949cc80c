#include "settings/PrintClientPreferences.h"
#include "settings/Registry.h"

#include "FileSizeLimit.h"

#include <QtTest>

#include <climits>
#include <memory>

using UtilsLib::Registry;
using UtilsLib::RegistryRoot;

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(content), content.size());
}

QFileDevice::Permissions permissionsOf(const QString &path)
{
    const QFileDevice::Permissions all =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
        QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
        QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    return QFileInfo(path).permissions() & all;
}

const QByteArray InstalledHive = "[SOFTWARE/Microsoft/Windows/CurrentVersion/Uninstall/ondclient]\n"
                                 "InstallLocation=sz:/usr/lib/ondtpc\n";

// "abc" is "86888a": a byte count of 12, then six UTF-16 code units.
const QByteArray AbcSession("\x00\x00\x00\x0c\x00\x38\x00\x36\x00\x38\x00\x38\x00\x38\x00\x61", 16);

} // namespace

class TestPrintClientPreferences : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void defaults();
    void pageLimitIsNeverNegative_data();
    void pageLimitIsNeverNegative();
    void setterRules();
    void connectsTheLocalMachine();
    void installedWhenTheUninstallEntryHasALocation_data();
    void installedWhenTheUninstallEntryHasALocation();
    void sessionFileHoldsTheScrambledPassword();
    void emptyPasswordIsANullString();
    void notInstalledWritesNoSession();
    void unusableSessionFilesKeepThePassword_data();
    void unusableSessionFilesKeepThePassword();
    void failedSaveKeepsTheOldSession();
    void sessionFileIsTightenedOnSave();

private:
    QString sessionFolder() const { return m_home->filePath(QStringLiteral(".ondTpc")); }
    QString sessionFile() const { return sessionFolder() + QLatin1String("/session.dat"); }
    void install(const QByteArray &hive = InstalledHive)
    {
        writeFile(m_registryDir->filePath(QStringLiteral("HKEY_LOCAL_MACHINE.ini")), hive);
    }

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<QTemporaryDir> m_registryDir;
    Registry m_registry;
};

void TestPrintClientPreferences::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    m_registryDir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid() && m_registryDir->isValid());
    qputenv("HOME", m_home->path().toUtf8());
    qputenv("ONDTPC_REGISTRY_DIR", m_registryDir->path().toUtf8());
}

void TestPrintClientPreferences::defaults()
{
    const PrintClientPreferences prefs(&m_registry);
    QCOMPARE(prefs.staffPassword(), QStringLiteral("pelbrostagin"));
    QCOMPARE(prefs.tavrinIntegration(), false);
    QCOMPARE(prefs.maxSessionPages(), 0);
    QCOMPARE(prefs.staffApprovesOverLimit(), false);
    QCOMPARE(prefs.useSessionCredentials(), false);
    QCOMPARE(prefs.maskUserId(), false);
    QCOMPARE(prefs.useSessionPcDescription(), false);
    QCOMPARE(prefs.userIdFile(), QString());
    QCOMPARE(prefs.useSessionLanguage(), false);
    QCOMPARE(prefs.numberN(), 0);
    QCOMPARE(prefs.dynamicLanguageEnabled(), false);
    QCOMPARE(prefs.supportedDialects(), QString());
    QCOMPARE(prefs.locale(), QStringLiteral("en_us"));
    QCOMPARE(prefs.currentLocale(), QString());
    QCOMPARE(prefs.userIdFilterEnabled(), false);
    QCOMPARE(prefs.userIdFilterExceptions(), QString());
    QCOMPARE(prefs.pinFilterEnabled(), false);
    QCOMPARE(prefs.pinFilterExceptions(), QString());
    QCOMPARE(PrintClientPreferences::sessionFolder(), sessionFolder());
}

void TestPrintClientPreferences::pageLimitIsNeverNegative_data()
{
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("stored");

    QTest::newRow("negative means no limit") << -5 << 0;
    QTest::newRow("smallest int") << INT_MIN << 0;
    QTest::newRow("zero") << 0 << 0;
    QTest::newRow("positive") << 25 << 25;
}

void TestPrintClientPreferences::pageLimitIsNeverNegative()
{
    QFETCH(int, pages);
    QFETCH(int, stored);

    PrintClientPreferences prefs(&m_registry);
    prefs.setMaxSessionPages(7);
    prefs.setMaxSessionPages(pages);
    QCOMPARE(prefs.maxSessionPages(), stored);
}

void TestPrintClientPreferences::setterRules()
{
    PrintClientPreferences prefs(&m_registry);
    prefs.setLocale(QStringLiteral("de_de"));
    QCOMPARE(prefs.locale(), QStringLiteral("de_de"));
    prefs.setLocale(QString());
    QCOMPARE(prefs.locale(), QStringLiteral("en_us"));

    prefs.setUserIdFilter(true, QStringLiteral("-_"));
    prefs.setPinFilter(true, QStringLiteral("#"));
    QVERIFY(prefs.userIdFilterEnabled());
    QCOMPARE(prefs.userIdFilterExceptions(), QStringLiteral("-_"));
    QCOMPARE(prefs.pinFilterExceptions(), QStringLiteral("#"));

    prefs.setUserIdFilter(false, QStringLiteral("-_"));
    QVERIFY(!prefs.userIdFilterEnabled());
    QCOMPARE(prefs.userIdFilterExceptions(), QString());
    QCOMPARE(prefs.pinFilterExceptions(), QStringLiteral("#"));
    prefs.setPinFilter(false, QStringLiteral("#"));
    QVERIFY(!prefs.pinFilterEnabled());
    QCOMPARE(prefs.pinFilterExceptions(), QString());

    // Texts are kept as given; the settings handler splits the list.
    prefs.setSupportedDialects(QStringLiteral("en_us, de_de,,"));
    QCOMPARE(prefs.supportedDialects(), QStringLiteral("en_us, de_de,,"));
}

void TestPrintClientPreferences::connectsTheLocalMachine()
{
    QVERIFY(m_registry.setRoot(QStringLiteral("HKCU")));
    const PrintClientPreferences prefs(&m_registry);
    QCOMPARE(m_registry.rootKey(), RegistryRoot::LocalMachine);

    const PrintClientPreferences withoutRegistry(nullptr);
    QVERIFY(!withoutRegistry.isInstalled());
}

void TestPrintClientPreferences::installedWhenTheUninstallEntryHasALocation_data()
{
    QTest::addColumn<QByteArray>("hive");
    QTest::addColumn<bool>("installed");

    const QByteArray key = "[SOFTWARE/Microsoft/Windows/CurrentVersion/Uninstall/ondclient]\n";
    QTest::newRow("location") << InstalledHive << true;
    QTest::newRow("empty location") << key + "InstallLocation=sz:\n" << true;
    QTest::newRow("255 bytes fit with the zero byte")
        << key + "InstallLocation=sz:" + QByteArray(255, 'x') + "\n"
        << true;
    QTest::newRow("256 bytes do not") << key + "InstallLocation=sz:" + QByteArray(256, 'x') + "\n"
                                      << false;
    QTest::newRow("other values only") << key + "DisplayName=sz:ondtpc\n" << false;
    QTest::newRow("other product")
        << QByteArray("[SOFTWARE/Microsoft/Windows/CurrentVersion/Uninstall/other]\n"
                      "InstallLocation=sz:/opt\n")
        << false;
    QTest::newRow("no hive") << QByteArray() << false;
}

void TestPrintClientPreferences::installedWhenTheUninstallEntryHasALocation()
{
    QFETCH(QByteArray, hive);
    QFETCH(bool, installed);

    if (!hive.isEmpty())
        install(hive);
    const PrintClientPreferences prefs(&m_registry);
    QCOMPARE(prefs.isInstalled(), installed);
    QCOMPARE(prefs.isSessionPersistent(), installed);
}

void TestPrintClientPreferences::sessionFileHoldsTheScrambledPassword()
{
    install();
    PrintClientPreferences prefs(&m_registry);
    prefs.setStaffPassword(QStringLiteral("abc"));
    prefs.saveSession();

    QCOMPARE(readFile(sessionFile()), AbcSession);
    QCOMPARE(permissionsOf(sessionFolder()),
             QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QCOMPARE(permissionsOf(sessionFile()), QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    PrintClientPreferences restarted(&m_registry);
    QVERIFY(restarted.loadSession());
    QCOMPARE(restarted.staffPassword(), QStringLiteral("abc"));

    const QString secret = QString::fromUtf8("p\u00e4ss \u20ac|:\\");
    prefs.setStaffPassword(secret);
    prefs.saveSession();
    QVERIFY(restarted.loadSession());
    QCOMPARE(restarted.staffPassword(), secret);
}

void TestPrintClientPreferences::emptyPasswordIsANullString()
{
    install();
    PrintClientPreferences prefs(&m_registry);
    prefs.setStaffPassword(QString());
    prefs.saveSession();
    QCOMPARE(readFile(sessionFile()), QByteArray("\xff\xff\xff\xff"));

    PrintClientPreferences restarted(&m_registry);
    QVERIFY(restarted.loadSession());
    QVERIFY(restarted.staffPassword().isEmpty());
}

void TestPrintClientPreferences::notInstalledWritesNoSession()
{
    PrintClientPreferences prefs(&m_registry);
    prefs.setStaffPassword(QStringLiteral("abc"));
    prefs.saveSession();
    QVERIFY(!QFileInfo::exists(sessionFolder()));

    PrintClientPreferences restarted(&m_registry);
    QVERIFY(!restarted.loadSession());
    QCOMPARE(restarted.staffPassword(), QStringLiteral("pelbrostagin"));
}

void TestPrintClientPreferences::unusableSessionFilesKeepThePassword_data()
{
    QTest::addColumn<bool>("makeFolder");
    QTest::addColumn<QByteArray>("content"); // null: no file

    QTest::newRow("no folder") << false << QByteArray();
    QTest::newRow("no file") << true << QByteArray();
    QTest::newRow("empty file") << true << QByteArray("");
    QTest::newRow("cut count") << true << QByteArray("\x00\x00", 2);
    QTest::newRow("cut text") << true << AbcSession.left(10);
    QTest::newRow("odd byte count") << true << QByteArray("\x00\x00\x00\x03\x00\x38\x00", 7);
    QTest::newRow("count beyond the file") << true << QByteArray("\x7f\xff\xff\xfe\x00\x38", 6);
    QTest::newRow("larger than a session file")
        << true << AbcSession + QByteArray(PrintClientPreferences::MaximumSessionFileSize, '\0');
}

void TestPrintClientPreferences::unusableSessionFilesKeepThePassword()
{
    QFETCH(bool, makeFolder);
    QFETCH(QByteArray, content);

    if (makeFolder)
        QVERIFY(QDir().mkdir(sessionFolder()));
    if (!content.isNull())
        writeFile(sessionFile(), content);

    PrintClientPreferences prefs(&m_registry);
    prefs.setStaffPassword(QStringLiteral("current"));
    QVERIFY(!prefs.loadSession());
    QCOMPARE(prefs.staffPassword(), QStringLiteral("current"));
}

void TestPrintClientPreferences::failedSaveKeepsTheOldSession()
{
    install();
    PrintClientPreferences prefs(&m_registry);
    prefs.setStaffPassword(QStringLiteral("abc"));
    prefs.saveSession();
    QCOMPARE(readFile(sessionFile()), AbcSession);

    prefs.setStaffPassword(QStringLiteral("a much longer password"));
    bool limited = false;
    {
        const FileSizeLimit limit(8);
        limited = limit.isActive();
        prefs.saveSession();
    }
    QVERIFY(limited);
    QCOMPARE(readFile(sessionFile()), AbcSession);
    QCOMPARE(QDir(sessionFolder()).entryList(QDir::Files | QDir::Hidden),
             QStringList{"session.dat"});
}

void TestPrintClientPreferences::sessionFileIsTightenedOnSave()
{
    install();
    QVERIFY(QDir().mkdir(sessionFolder()));
    writeFile(sessionFile(), AbcSession);
    QVERIFY(QFile::setPermissions(sessionFile(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                     QFileDevice::ReadGroup |
                                                     QFileDevice::ReadOther));

    PrintClientPreferences prefs(&m_registry);
    QVERIFY(prefs.loadSession());
    prefs.saveSession();
    QCOMPARE(readFile(sessionFile()), AbcSession);
    QCOMPARE(permissionsOf(sessionFile()), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

QTEST_GUILESS_MAIN(TestPrintClientPreferences)
#include "tst_printclientpreferences.moc"
