#include "settings/PrintClientPreferences.h"
#include "settings/Registry.h"
#include "settings/RegistryHive.h"

#include "FileBytes.h"
#include "FileSizeLimit.h"

#include <QtTest>

#include <algorithm>
#include <climits>
#include <memory>
#include <sys/stat.h>

using UtilsLib::Registry;
using UtilsLib::RegistryRoot;

namespace {

const QString TestKey = "Software\\Ondrel\\Test";
const char *const WriterOption = "--write-values";

std::unique_ptr<Registry> connected(const QString &root = "HKCU")
{
    auto registry = std::make_unique<Registry>();
    registry->setRoot(root);
    return registry;
}

// The child process of concurrentWritersLoseNothing: writes `count` numbers named
// "<id>-<n>" into HKCU of the hive folder it inherits.
int writeValues(const QString &id, int count)
{
    auto registry = connected();
    for (int n = 0; n < count; ++n) {
        if (!registry->writeDword(TestKey, QString("%1-%2").arg(id).arg(n), n))
            return 1;
    }
    return 0;
}

// A value typed as the installer types it: what it reads back as and how the hive stores it.
void notationRow(const char *name, const char *typedText, const QVariant &value, const char *stored)
{
    QTest::newRow(name) << QString(typedText) << value << QByteArray(stored);
}

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

// The file-backed registry and the client's preferences kept in it and in the session file.
class TestRegistry : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        qputenv("ONDTPC_REGISTRY_DIR", m_dir->path().toUtf8());
        m_home = std::make_unique<QTemporaryDir>();
        QVERIFY(m_home->isValid());
        qputenv("HOME", m_home->path().toUtf8());
    }

    void setRootTakesExactNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<RegistryRoot>("root");

        QTest::newRow("HKEY_LOCAL_MACHINE") << "HKEY_LOCAL_MACHINE" << RegistryRoot::LocalMachine;
        QTest::newRow("HKCU") << "HKCU" << RegistryRoot::CurrentUser;
        QTest::newRow("lower case") << "hklm" << RegistryRoot::None;
        QTest::newRow("other root") << "HKEY_CURRENT_CONFIG" << RegistryRoot::None;
    }

    void setRootTakesExactNames()
    {
        QFETCH(QString, name);
        QFETCH(RegistryRoot, root);

        Registry registry;
        QVERIFY(registry.setRoot("HKU"));
        QCOMPARE(registry.setRoot(name), root != RegistryRoot::None);
        QCOMPARE(registry.rootKey(), root);
        QCOMPARE(registry.openKey(QString()), root != RegistryRoot::None);
    }

    void writeValueReadsTheNotation_data()
    {
        QTest::addColumn<QString>("typedText");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QByteArray>("stored");

        notationRow("dword", "dword:0000001f", 31u, "dword:0000001f");
        notationRow("any case, short", "DWORDx:2A", 42u, "dword:0000002a");
        notationRow("no hexadecimal number", "dword:zz", 0u, "dword:00000000");
        notationRow("quoted path", "\"C:\\Program Files\\ondtpc\"", "C:\\Program Files\\ondtpc",
                    "sz:C:\\\\Program Files\\\\ondtpc");
        notationRow("a quote makes it a string", "dword:\"1\"", "dword:1", "sz:dword:1");
        notationRow("sz", "sz:abc", "abc", "sz:abc");
        notationRow("other type, first colon", "expand_sz:a:b", "a:b", "sz:a:b");
        notationRow("colon first", ":abc", ":abc", "sz::abc");
        notationRow("no colon", "dword", "dword", "sz:dword");
    }

    void writeValueReadsTheNotation()
    {
        QFETCH(QString, typedText);
        QFETCH(QVariant, value);
        QFETCH(QByteArray, stored);

        QVERIFY(connected()->writeValue(TestKey, "Value", typedText));
        QCOMPARE(readFile(hive()), "[Software/Ondrel/Test]\nValue=" + stored + "\n");
        const QVariant read = connected()->readValue(TestKey, "Value", 256);
        QCOMPARE(read.typeId(), value.typeId());
        QCOMPARE(read, value);
    }

    void writesTheHiveFormat()
    {
        auto registry = connected();
        QVERIFY(registry->writeDword(TestKey, "Count", 42));
        QVERIFY(registry->writeValue(TestKey, "a=b", "sz:x=y"));
        QVERIFY(registry->writeValue(TestKey, " padded ", "sz: z "));
        QVERIFY(registry->writeValue(TestKey, "[x", "sz:1\n2\r\\3"));
        QVERIFY(registry->writeValue("software/ONDREL//test/", "COUNT", "dword:7"));
        QVERIFY(registry->writeValue("Software/Other", QString(), "d"));

        QCOMPARE(readFile(hive()), QByteArray("[Software/Ondrel/Test]\n"
                                              "Count=dword:00000007\n"
                                              "a\\=b=sz:x=y\n"
                                              "\\spadded\\s=sz: z \n"
                                              "\\[x=sz:1\\n2\\r\\\\3\n"
                                              "\n"
                                              "[Software/Other]\n"
                                              "=sz:d\n"));
        auto reader = connected();
        QCOMPARE(reader->readValue("SOFTWARE\\ondrel\\TEST", "count", 4), QVariant(7u));
        QCOMPARE(reader->readValue(TestKey, "a=b", 256), QVariant("x=y"));
        QCOMPARE(reader->readValue(TestKey, " padded ", 256), QVariant(" z "));
        QCOMPARE(reader->readValue(TestKey, "[x", 256), QVariant("1\n2\r\\3"));
        QCOMPARE(reader->readValue("Software\\Other", QString(), 256), QVariant("d"));
    }

    void namesReadBackAsWritten_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("data");

        QTest::newRow("comment mark first") << "#x" << QString("1");
        QTest::newRow("blank before a comment mark") << " ;x" << QString("2");
        // Found by fuzzing: the reader takes any white space before a comment mark or a section
        // for the start of the line, the writer escaped only blanks and tabs.
        QTest::newRow("form feed before a comment mark") << "\f#x" << QString("3");
        QTest::newRow("vertical tab before a comment mark") << "\v;x" << QString("4");
        QTest::newRow("no-break space before a section") << QStringLiteral("\u00a0[a") << "b]";
        QTest::newRow("line separator before a section") << QStringLiteral("\u2028[a") << "c]";
    }

    // A value whose name starts like a comment or a section line must not become one.
    void namesReadBackAsWritten()
    {
        QFETCH(QString, name);
        QFETCH(QString, data);

        QVERIFY(connected()->writeValue(TestKey, name, "sz:" + data));
        QVERIFY(connected()->writeValue(TestKey, "After", "sz:kept"));
        auto reader = connected();
        QCOMPARE(reader->readValue(TestKey, name, 256), QVariant(data));
        QCOMPARE(reader->readValue(TestKey, "After", 256), QVariant("kept"));
    }

    void readsAnInstallerWrittenHive()
    {
        QVERIFY(
            writeFile(hive("HKEY_LOCAL_MACHINE"),
                      "\xef\xbb\xbf[Software\\First]\r\n" // a byte-order mark some editors write
                      "First=sz:1\r\n"
                      "; written by the installer\r\n\r\n"
                      "  [SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ondclient]  \r\n"
                      "InstallLocation = sz:/usr/lib/ondtpc\r\n"
                      "Untagged=/opt/ondtpc \r\n"
                      "Broken=dword:xyz\r\n"
                      "not a value line\r\n"
                      "[software/microsoft/windows/currentversion/uninstall/ONDCLIENT]\r\n"
                      "Version=DWORD:0000000A\r\n"));
        auto registry = connected("HKLM");
        const QString key = "SOFTWARE/Microsoft/Windows/CurrentVersion/Uninstall/ondclient";
        QCOMPARE(registry->readValue(key, "InstallLocation", 256), QVariant("/usr/lib/ondtpc"));
        QCOMPARE(registry->readValue(key, "Untagged", 256), QVariant("/opt/ondtpc "));
        QCOMPARE(registry->readValue(key, "Version", 256), QVariant(10u));
        QVERIFY(!registry->readValue(key, "Broken", 256).isValid());
        QCOMPARE(registry->readValue("software/first", "first", 4), QVariant("1"));
    }

    void readsWithinMaxBytes_data()
    {
        QTest::addColumn<QString>("typedText"); // null: no value written
        QTest::addColumn<int>("maxBytes");
        QTest::addColumn<QVariant>("value"); // invalid: cannot be read

        QTest::newRow("text and its zero byte fit") << "sz:abc" << 4 << QVariant("abc");
        QTest::newRow("text one byte too long") << "sz:abc" << 3 << QVariant();
        QTest::newRow("empty text needs its zero byte") << "sz:" << 0 << QVariant();
        QTest::newRow("UTF-8 bytes count") << QString::fromUtf8("sz:\u00e9") << 2 << QVariant();
        QTest::newRow("dword fits") << "dword:2a" << 4 << QVariant(42u);
        QTest::newRow("dword needs four bytes") << "dword:2a" << 3 << QVariant();
        QTest::newRow("missing") << QString() << 256 << QVariant();
    }

    void readsWithinMaxBytes()
    {
        QFETCH(QString, typedText);
        QFETCH(int, maxBytes);
        QFETCH(QVariant, value);

        auto registry = connected();
        if (!typedText.isNull())
            QVERIFY(registry->writeValue(TestKey, "V", typedText));
        QCOMPARE(registry->readValue(TestKey, "V", maxBytes), value);
        // The fallbacks apply only to what cannot be read; a value keeps its own type.
        QCOMPARE(registry->readStringOr(TestKey, "V", "d", maxBytes),
                 value.isValid() ? value : QVariant("d"));
        QCOMPARE(registry->readIntOr(TestKey, "V", -3, maxBytes),
                 value.isValid() ? value : QVariant(-3));
        QVERIFY(!registry->readValue(TestKey + "\\Sub", "V", 256).isValid());
    }

    void readsHivesUpToTheSizeLimit_data()
    {
        QTest::addColumn<qint64>("fileSize");
        QTest::addColumn<bool>("readable");

        const qint64 limit = UtilsLib::RegistryHive::MaximumFileSize;
        QTest::newRow("more than one read piece") << qint64(200 * 1024 + 7) << true;
        QTest::newRow("at the limit") << limit << true;
        QTest::newRow("one byte over the limit") << limit + 1 << false;
    }

    // The hive is read in pieces up to one byte past the limit; a hive that cannot be read whole
    // must not be rewritten either, or its keys beyond the limit would be lost.
    void readsHivesUpToTheSizeLimit()
    {
        QFETCH(qint64, fileSize);
        QFETCH(bool, readable);

        const QByteArray head = "[Software/Ondrel/Test]\nFirst=sz:1\n;";
        const QByteArray tail = "\n[Software/Ondrel/Last]\nLast=dword:00000002\n";
        QByteArray content = head + QByteArray(fileSize - head.size() - tail.size(), 'x') + tail;
        QCOMPARE(content.size(), fileSize);
        QVERIFY(writeFile(hive(), content));

        auto registry = connected();
        QCOMPARE(registry->readValue(TestKey, "First", 256).isValid(), readable);
        QCOMPARE(registry->readValue("Software\\Ondrel\\Last", "Last", 4),
                 readable ? QVariant(2u) : QVariant());
        if (!readable) {
            QVERIFY(!registry->writeDword(TestKey, "Second", 3));
            QCOMPARE(QFileInfo(hive()).size(), fileSize);
        }
    }

    void createsAndDeletesKeys()
    {
        auto registry = connected();
        QVERIFY(!registry->openKey("A\\B"));
        QVERIFY(registry->createKey("A\\B"));
        QVERIFY(registry->createKey("a/b"));
        QCOMPARE(readFile(hive()), QByteArray("[A/B]\n"));
        QVERIFY(registry->openKey("A"));
        QVERIFY(!registry->openKey("A/Bx"));

        QVERIFY(registry->writeDword("A\\B\\C", "v", 1));
        QVERIFY(registry->writeDword("A\\BB", "v", 2));
        QVERIFY(!registry->deleteKey("A\\B"));
        QVERIFY(registry->deleteValue("a\\b\\c", "V"));
        QVERIFY(!registry->deleteValue("A\\B\\C", "v"));
        QVERIFY(registry->deleteKey("a/b/c"));
        QVERIFY(!registry->deleteKey("A\\B\\C"));
        QVERIFY(registry->deleteKey("A\\B"));
        // A key that only its subkey implied outlives it.
        QVERIFY(registry->openKey("A"));
        QVERIFY(registry->writeDword("A\\B\\E\\F", "v", 4));
        QVERIFY(registry->deleteTree("A\\B"));
        QCOMPARE(readFile(hive()), QByteArray("[A/BB]\nv=dword:00000002\n"));
        QVERIFY(registry->deleteTree("A"));
        QVERIFY(!registry->openKey("A"));
        QVERIFY(!registry->deleteTree(QString()));
    }

    void refusesWhatTheHiveCannotHold()
    {
        auto registry = connected();
        QVERIFY(!registry->createKey("a\nb"));
        QVERIFY(!registry->writeDword(QString(), "OnTheRoot", 1));
        QVERIFY(!QFileInfo::exists(hive()));

        QVERIFY(QDir(m_dir->path()).mkdir("HKEY_CURRENT_USER.ini"));
        QVERIFY(!registry->openKey(QString()));
        QVERIFY(!registry->writeDword(TestKey, "v", 1));
    }

    void concurrentWritersLoseNothing()
    {
        const int writers = 3;
        const int valuesEach = 25;
        QVERIFY(connected()->writeValue(TestKey, "Sentinel", "sz:ok"));

        QProcess children[writers];
        for (int id = 0; id < writers; ++id) {
            children[id].start(QCoreApplication::applicationFilePath(),
                               {WriterOption, QString::number(id), QString::number(valuesEach)});
            QVERIFY(children[id].waitForStarted(30000));
        }
        // While the file is replaced over and over, a reader sees one whole version or the
        // next, never a torn file without the sentinel.
        auto reader = connected();
        const auto running = [&children] {
            return std::any_of(std::begin(children), std::end(children), [](QProcess &child) {
                return child.state() != QProcess::NotRunning && !child.waitForFinished(0);
            });
        };
        for (int reads = 0; running() && reads < 100000; ++reads)
            QCOMPARE(reader->readValue(TestKey, "Sentinel", 16), QVariant("ok"));
        for (QProcess &child : children) {
            if (child.state() != QProcess::NotRunning)
                QVERIFY(child.waitForFinished(60000));
            QCOMPARE(child.exitCode(), 0);
        }
        // Every value of every process arrived: the lock kept writers from overwriting each other.
        for (int id = 0; id < writers; ++id) {
            for (int n = 0; n < valuesEach; ++n)
                QCOMPARE(reader->readValue(TestKey, QString("%1-%2").arg(id).arg(n), 4),
                         QVariant(uint(n)));
        }
        QVERIFY(!QFileInfo::exists(hive() + ".lock"));
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
        return writeFile(hive("HKEY_LOCAL_MACHINE"), UninstallKey + values);
    }

    QString hive(const QString &name = "HKEY_CURRENT_USER") const
    {
        return m_dir->filePath(name + QLatin1String(".ini"));
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QTemporaryDir> m_home;
    Registry m_registry;
};

int main(int argc, char *argv[])
{
    if (argc == 4 && qstrcmp(argv[1], WriterOption) == 0)
        return writeValues(QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toInt());
    QCoreApplication app(argc, argv);
    TestRegistry test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_registry.moc"
