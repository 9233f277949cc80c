#include "settings/PrintClientPreferences.h"
#include "settings/Registry.h"

#include "FileSizeLimit.h"

#include <QtTest>

#include <climits>
#include <memory>

using UtilsLib::Registry;
using UtilsLib::RegistryRoot;

namespace {

// Compared in the user bits, which QFileInfo reports for the current user's own files.
const QFileDevice::Permissions ReadWrite = QFileDevice::ReadUser | QFileDevice::WriteUser;
const QFileDevice::Permissions AnyUser =
    QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser | QFileDevice::ReadGroup |
    QFileDevice::WriteGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
    QFileDevice::WriteOther | QFileDevice::ExeOther;

const QByteArray UninstallKey = "[SOFTWARE/Microsoft/Windows/CurrentVersion/Uninstall/ondclient]\n";

// "abc" is "86888a": a byte count of 12, then six UTF-16 code units.
const QByteArray AbcSession("\x00\x00\x00\x0c\x00\x38\x00\x36\x00\x38\x00\x38\x00\x38\x00\x61", 16);

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

} // namespace

class TestPrintClientPreferences : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void defaultsAndSetterRules();
    void installedWhenTheUninstallEntryHasALocation_data();
    void installedWhenTheUninstallEntryHasALocation();
    void sessionFileHoldsTheScrambledPassword();
    void notInstalledWritesNoSession();
    void unusableSessionFilesKeepThePassword_data();
    void unusableSessionFilesKeepThePassword();
    void failedSaveKeepsTheOldSession();

private:
    QString folder() const { return m_home->filePath(QStringLiteral(".ondTpc")); }
    QString sessionFile() const { return folder() + QLatin1String("/session.dat"); }
    void install(const QByteArray &values = "InstallLocation=sz:/usr/lib/ondtpc\n")
    {
        writeFile(m_registryDir->filePath(QStringLiteral("HKEY_LOCAL_MACHINE.ini")),
                  UninstallKey + values);
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

void TestPrintClientPreferences::defaultsAndSetterRules()
{
    QVERIFY(m_registry.setRoot(QStringLiteral("HKCU")));
    PrintClientPreferences prefs(&m_registry);
    QCOMPARE(m_registry.rootKey(), RegistryRoot::LocalMachine);
    QCOMPARE(prefs.staffPassword(), QStringLiteral("pelbrostagin"));
    QCOMPARE(prefs.locale(), QStringLiteral("en_us"));
    QCOMPARE(prefs.maxSessionPages(), 0);
    QVERIFY(!prefs.tavrinIntegration() && !prefs.staffApprovesOverLimit());
    QVERIFY(prefs.currentLocale().isEmpty() && prefs.userIdFile().isEmpty());

    prefs.setMaxSessionPages(25);
    QCOMPARE(prefs.maxSessionPages(), 25);
    prefs.setMaxSessionPages(INT_MIN);
    QCOMPARE(prefs.maxSessionPages(), 0);
    prefs.setLocale(QStringLiteral("de_de"));
    QCOMPARE(prefs.locale(), QStringLiteral("de_de"));
    prefs.setLocale(QString());
    QCOMPARE(prefs.locale(), QStringLiteral("en_us"));

    prefs.setUserIdFilter(true, QStringLiteral("-_"));
    prefs.setPinFilter(true, QStringLiteral("#"));
    QCOMPARE(prefs.userIdFilterExceptions(), QStringLiteral("-_"));
    prefs.setUserIdFilter(false, QStringLiteral("-_"));
    QVERIFY(!prefs.userIdFilterEnabled());
    QCOMPARE(prefs.userIdFilterExceptions(), QString());
    QCOMPARE(prefs.pinFilterExceptions(), QStringLiteral("#"));
    prefs.setPinFilter(false, QStringLiteral("#"));
    QCOMPARE(prefs.pinFilterExceptions(), QString());

    QVERIFY(!PrintClientPreferences(nullptr).isInstalled());
}

void TestPrintClientPreferences::installedWhenTheUninstallEntryHasALocation_data()
{
    QTest::addColumn<QByteArray>("values"); // null: no hive file
    QTest::addColumn<bool>("installed");

    QTest::newRow("location") << QByteArray("InstallLocation=sz:/usr/lib/ondtpc\n") << true;
    QTest::newRow("empty location") << QByteArray("InstallLocation=sz:\n") << true;
    QTest::newRow("255 bytes fit with the zero byte")
        << "InstallLocation=sz:" + QByteArray(255, 'x') + "\n"
        << true;
    QTest::newRow("256 bytes do not") << "InstallLocation=sz:" + QByteArray(256, 'x') + "\n"
                                      << false;
    QTest::newRow("other values only") << QByteArray("DisplayName=sz:ondtpc\n") << false;
    QTest::newRow("no hive") << QByteArray() << false;
}

void TestPrintClientPreferences::installedWhenTheUninstallEntryHasALocation()
{
    QFETCH(QByteArray, values);
    QFETCH(bool, installed);

    if (!values.isNull())
        install(values);
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
    QCOMPARE(QFileInfo(folder()).permissions() & AnyUser, ReadWrite | QFileDevice::ExeUser);
    QCOMPARE(QFileInfo(sessionFile()).permissions() & AnyUser, ReadWrite);

    PrintClientPreferences restarted(&m_registry);
    QVERIFY(restarted.loadSession());
    QCOMPARE(restarted.staffPassword(), QStringLiteral("abc"));

    // An older, readable file is made private again; an empty password is the null text.
    QVERIFY(QFile::setPermissions(sessionFile(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                     QFileDevice::ReadOther));
    prefs.setStaffPassword(QString());
    prefs.saveSession();
    QCOMPARE(readFile(sessionFile()), QByteArray("\xff\xff\xff\xff"));
    QCOMPARE(QFileInfo(sessionFile()).permissions() & AnyUser, ReadWrite);
    QVERIFY(restarted.loadSession());
    QVERIFY(restarted.staffPassword().isEmpty());

    const QString secret = QString::fromUtf8("p\u00e4ss \u20ac|:\\");
    prefs.setStaffPassword(secret);
    prefs.saveSession();
    QVERIFY(restarted.loadSession());
    QCOMPARE(restarted.staffPassword(), secret);
}

void TestPrintClientPreferences::notInstalledWritesNoSession()
{
    PrintClientPreferences prefs(&m_registry);
    prefs.setStaffPassword(QStringLiteral("abc"));
    prefs.saveSession();
    QVERIFY(!QFileInfo::exists(folder()));

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
        QVERIFY(QDir().mkdir(folder()));
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
    prefs.setStaffPassword(QStringLiteral("a much longer password"));
    bool limited = false;
    {
        const FileSizeLimit limit(8);
        limited = limit.isActive();
        prefs.saveSession();
    }
    QVERIFY(limited);
    QCOMPARE(readFile(sessionFile()), AbcSession);
    QCOMPARE(QDir(folder()).entryList(QDir::Files | QDir::Hidden), QStringList{"session.dat"});
}

QTEST_GUILESS_MAIN(TestPrintClientPreferences)
#include "tst_printclientpreferences.moc"
