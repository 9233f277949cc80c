#include "settings/PrintClientPreferences.h"
#include "settings/Registry.h"

#include "FileBytes.h"
#include "FileSizeLimit.h"

#include <QtTest>

#include <climits>
#include <memory>
#include <sys/stat.h>

using UtilsLib::Registry;

namespace {

const QByteArray UninstallKey = "[SOFTWARE/Microsoft/Windows/CurrentVersion/Uninstall/ondclient]\n";

// "abc" is "86888a": a byte count of 12, then six UTF-16 code units.
const QByteArray AbcSession("\x00\x00\x00\x0c\x00\x38\x00\x36\x00\x38\x00\x38\x00\x38\x00\x61", 16);

// The permission bits of a file or folder, -1 when it is missing.
int mode(const QString &path)
{
    struct stat info = {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

} // namespace

class TestPrintClientPreferences : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_home = std::make_unique<QTemporaryDir>();
        m_registryDir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_home->isValid() && m_registryDir->isValid());
        qputenv("HOME", m_home->path().toUtf8());
        qputenv("ONDTPC_REGISTRY_DIR", m_registryDir->path().toUtf8());
    }

    void defaultsAndSetterRules()
    {
        PrintClientPreferences prefs(&m_registry);
        QCOMPARE(prefs.staffPassword(), "pelbrostagin");
        prefs.setMaxSessionPages(INT_MIN);
        QCOMPARE(prefs.maxSessionPages(), 0);
        prefs.setLocale(QString());
        QCOMPARE(prefs.locale(), "en_us");
        // A disabled filter drops its exceptions; the other filter keeps its own.
        prefs.setPinFilter(true, "#");
        prefs.setUserIdFilter(false, "-_");
        QCOMPARE(prefs.userIdFilterExceptions(), QString());
        QCOMPARE(prefs.pinFilterExceptions(), "#");
        QVERIFY(!PrintClientPreferences(nullptr).isInstalled());
    }

    void sessionOnlyWhenTheUninstallEntryHasALocation_data()
    {
        QTest::addColumn<QByteArray>("values"); // null: no hive file
        QTest::addColumn<bool>("installed");

        QTest::newRow("empty location") << QByteArray("InstallLocation=sz:\n") << true;
        QTest::newRow("255 bytes fit with the zero byte")
            << "InstallLocation=sz:" + QByteArray(255, 'x') + "\n"
            << true;
        QTest::newRow("256 bytes do not") << "InstallLocation=sz:" + QByteArray(256, 'x') + "\n"
                                          << false;
        QTest::newRow("other values only") << QByteArray("DisplayName=sz:ondtpc\n") << false;
        QTest::newRow("no hive") << QByteArray() << false;
    }

    void sessionOnlyWhenTheUninstallEntryHasALocation()
    {
        QFETCH(QByteArray, values);
        QFETCH(bool, installed);

        if (!values.isNull())
            QVERIFY(install(values));
        PrintClientPreferences prefs(&m_registry);
        QCOMPARE(prefs.isInstalled(), installed);
        prefs.saveSession();
        QCOMPARE(QFileInfo::exists(folder()), installed);
        QCOMPARE(QFileInfo::exists(sessionFile()), installed);
    }

    void sessionFileHoldsTheScrambledPassword()
    {
        QVERIFY(install());
        PrintClientPreferences prefs(&m_registry);
        prefs.setStaffPassword("abc");
        prefs.saveSession();
        QCOMPARE(readFile(sessionFile()), AbcSession);
        QCOMPARE(mode(folder()), 0700);
        QCOMPARE(mode(sessionFile()), 0600);

        PrintClientPreferences restarted(&m_registry);
        QVERIFY(restarted.loadSession());
        QCOMPARE(restarted.staffPassword(), "abc");

        // An older, readable file is made private again; an empty password is the null text.
        QVERIFY(QFile::setPermissions(sessionFile(), QFileDevice::ReadOwner |
                                                         QFileDevice::WriteOwner |
                                                         QFileDevice::ReadOther));
        prefs.setStaffPassword(QString());
        prefs.saveSession();
        QCOMPARE(readFile(sessionFile()), QByteArray("\xff\xff\xff\xff"));
        QCOMPARE(mode(sessionFile()), 0600);
        QVERIFY(restarted.loadSession());
        QVERIFY(restarted.staffPassword().isEmpty());
        prefs.setStaffPassword(QString::fromUtf8("p\u00e4ss \u20ac"));
        prefs.saveSession();
        QVERIFY(restarted.loadSession());
        QCOMPARE(restarted.staffPassword(), QString::fromUtf8("p\u00e4ss \u20ac"));

        // A save that fails half-way, as on a full disk, leaves the previous file whole.
        const QByteArray previous = readFile(sessionFile());
        prefs.setStaffPassword(QString(100, u'x'));
        QVERIFY(withFileSizeLimit(8, [&prefs] { prefs.saveSession(); }));
        QCOMPARE(readFile(sessionFile()), previous);
        QCOMPARE(QDir(folder()).entryList(QDir::Files | QDir::Hidden), QStringList{"session.dat"});
    }

    void unusableSessionFilesKeepThePassword_data()
    {
        QTest::addColumn<QByteArray>("content"); // null: no file

        QTest::newRow("no file") << QByteArray();
        QTest::newRow("cut text") << AbcSession.left(10);
        QTest::newRow("odd byte count") << QByteArray("\x00\x00\x00\x03\x00\x38\x00", 7);
        QTest::newRow("count beyond the file") << QByteArray("\x7f\xff\xff\xfe\x00\x38", 6);
        QTest::newRow("larger than a session file")
            << AbcSession + QByteArray(PrintClientPreferences::MaximumSessionFileSize, '\0');
    }

    void unusableSessionFilesKeepThePassword()
    {
        QFETCH(QByteArray, content);

        QVERIFY(QDir().mkdir(folder()));
        if (!content.isNull())
            QVERIFY(writeFile(sessionFile(), content));
        PrintClientPreferences prefs(&m_registry);
        prefs.setStaffPassword("current");
        QVERIFY(!prefs.loadSession());
        QCOMPARE(prefs.staffPassword(), "current");
    }

private:
    QString folder() const { return m_home->filePath(".ondTpc"); }
    QString sessionFile() const { return folder() + QLatin1String("/session.dat"); }
    bool install(const QByteArray &values = "InstallLocation=sz:/usr/lib/ondtpc\n")
    {
        return writeFile(m_registryDir->filePath("HKEY_LOCAL_MACHINE.ini"), UninstallKey + values);
    }

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<QTemporaryDir> m_registryDir;
    Registry m_registry;
};

QTEST_GUILESS_MAIN(TestPrintClientPreferences)
#include "tst_printclientpreferences.moc"
