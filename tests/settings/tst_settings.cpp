#include "settings/HexCodec.h"
#include "settings/LegacyHexCodec.h"
#include "settings/PrintClientPreferences.h"
#include "settings/Registry.h"
#include "settings/RegistryHive.h"
#include "settings/XmlPreferences.h"

#include "FileBytes.h"
#include "FileSizeLimit.h"

#include <QtTest>

#include <algorithm>
#include <climits>
#include <memory>
#include <stdexcept>
#include <sys/stat.h>

using UtilsLib::LegacyHexCodec;
using UtilsLib::PreferenceEntry;
using UtilsLib::Registry;
using UtilsLib::RegistryRoot;
using UtilsLib::TextCodec;
using UtilsLib::XmlPreferences;

using Entries = QList<PreferenceEntry>;
using NameValues = QMap<QString, QString>;

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

const QByteArray FileStart = "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n<Settings>\r\n"
                             "<version>1.1</version>\r\n";

void fill(XmlPreferences &store, const Entries &entries)
{
    for (const PreferenceEntry &entry : entries)
        store.setEntry(entry);
}

QString errorText(const std::function<void()> &call)
{
    try {
        call();
    } catch (const std::runtime_error &error) {
        return QString::fromUtf8(error.what());
    }
    return QString();
}

// A number stored in some units, read in others.
void unitsRow(const char *name, const char *value, const char *units, const char *requested,
              int result)
{
    QTest::newRow(name) << QString(value) << QString(units) << QString(requested) << result;
}

enum Codec { Hex, Legacy };
enum Direction { BothWays, DecodeOnly, EncodeOnly };

void codecRow(const char *name, Codec codec, const QString &plain, const QString &encoded,
              Direction direction = BothWays)
{
    QTest::newRow(name) << (codec == Legacy) << plain << encoded << int(direction);
}

} // namespace

// The preferences files, the file-backed registry, the client's preferences kept in it and in
// the session file, and the codecs that scramble their secrets.
class TestSettings : public QObject
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

        // What the hive cannot hold is refused, as is a hive that is not a file.
        QVERIFY(!registry->createKey("a\nb"));
        QVERIFY(!registry->writeDword(QString(), "OnTheRoot", 1));
        QCOMPARE(readFile(hive()), QByteArray());
        QVERIFY(QFile::remove(hive()) && QDir(m_dir->path()).mkdir("HKEY_CURRENT_USER.ini"));
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

        const auto location = [](int size) {
            return "InstallLocation=sz:" + QByteArray(size, 'x') + '\n';
        };
        QTest::newRow("empty location") << location(0) << true;
        QTest::newRow("255 bytes fit with the zero byte") << location(255) << true;
        QTest::newRow("256 bytes do not") << location(256) << false;
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

    void writesAndReadsBackTheFormat_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<Entries>("entries");
        QTest::addColumn<QByteArray>("lines"); // from the type line to before "</Settings>"

        QTest::newRow("no entries, no type") << "" << Entries{} << QByteArray("<type></type>\r\n");
        QTest::newRow("upper-cased key order")
            << "t" << Entries{{"b", "1", "", false}, {"_x", "2", "", false}, {"A", "3", "", false}}
            << QByteArray("<type>t</type>\r\n<entry name='A'>3</entry>\r\n"
                          "<entry name='b'>1</entry>\r\n<entry name='_x'>2</entry>\r\n");
        QTest::newRow("five entities")
            << "t" << Entries{{"V", "a&b<c>d\"e'f&amp;", "", false}}
            << QByteArray("<type>t</type>\r\n"
                          "<entry name='V'>a&amp;b&lt;c&gt;d&quot;e&apos;f&amp;amp;</entry>\r\n");
        QTest::newRow("encrypted before units")
            << "t" << Entries{{"Pin", "abc", "seconds", true}, {"E", "", "", true}}
            << QByteArray("<type>t</type>\r\n<entry name='E' encrypted='1'></entry>\r\n"
                          "<entry name='Pin' encrypted='1' units='seconds'>86888a</entry>\r\n");
        QTest::newRow("utf-8 and encrypted non-ascii")
            << QString::fromUtf8("Gr\u00fc\u00dfe")
            << Entries{{QString::fromUtf8("\u00c9t\u00e9"), QString::fromUtf8("\u20ac5"), "",
                        false},
                       {"K", QString::fromUtf8("\u20ac"), "", true}}
            << QByteArray("<type>Gr\xc3\xbc\xc3\x9f"
                          "e</type>\r\n<entry name='K' encrypted='1'>89c91d</entry>\r\n"
                          "<entry name='\xc3\x89t\xc3\xa9'>\xe2\x82\xac"
                          "5</entry>\r\n");
        // Written raw, markup in a name, units or type made the whole file unreadable, and a
        // reader turns raw CR (in attributes also tab and LF) into other characters. A control
        // character XML cannot hold is left out.
        QTest::newRow("markup and breaks outside values")
            << "a&b" << Entries{{"it's <x>\t\n", "a\r\nb\tc\x01", "s'", false}}
            << QByteArray("<type>a&amp;b</type>\r\n<entry name='it&apos;s &lt;x&gt;&#9;&#10;' "
                          "units='s&apos;'>a&#13;\nb\tc</entry>\r\n");
    }

    void writesAndReadsBackTheFormat()
    {
        QFETCH(QString, type);
        QFETCH(Entries, entries);
        QFETCH(QByteArray, lines);

        XmlPreferences store(type);
        fill(store, entries);
        QVERIFY(store.load(path("sub/p.xml"), true));
        QVERIFY(store.save());
        const QByteArray file = readFile(path("sub/p.xml"));
        QCOMPARE(file, FileStart + lines + "</Settings>\r\n");
        // The strict reader takes the file back, and with it names, values, units and flags.
        XmlPreferences loaded(type);
        QVERIFY(loaded.load(path("sub/p.xml"), false));
        QCOMPARE(loaded.toXml("\r\n").toUtf8(), file);

        QVERIFY(store.removeFile());
        QVERIFY(!QFileInfo::exists(path("sub/p.xml")));
    }

    void loadMergesIntoTheStore()
    {
        QVERIFY(writeFile(path("p.xml"),
                          "<Settings><type>other</type><entry name='shared'>new</entry>"
                          "<entry name='Added' units='hours'>2</entry></Settings>"));
        XmlPreferences store("mine");
        store.setEncryptedString("Keep", "1", true);
        store.setEntry({"Shared", "old", "days", true});
        QVERIFY(store.load(path("p.xml"), false));
        QCOMPARE(store.storeType(), "mine");
        QCOMPARE(store.entryMap(), (NameValues{{"Keep", "1"}, {"shared", "new"}, {"Added", "2"}}));
        QCOMPARE(store.getString("SHARED", QString()), "new");
        QCOMPARE(store.getUnits("SHARED"), "unknown");
        QCOMPARE(store.getUnits("added"), "hours");
        store.remove("kEEP");
        QCOMPARE(store.entryCount(), 2);

        // setAll loads tolerantly too, then stores every pair as text.
        XmlPreferences other("t");
        QVERIFY(other.setAll({{"ADDED", 20}, {"c", true}}, path("p.xml")));
        QCOMPARE(other.entryMap(), (NameValues{{"shared", "new"}, {"ADDED", "20"}, {"c", "true"}}));
    }

    void loads_data()
    {
        QTest::addColumn<QByteArray>("document"); // null: no file
        QTest::addColumn<bool>("wellFormed");
        QTest::addColumn<NameValues>("read"); // for a bad file, what was read before the error

        const NameValues none;
        const NameValues a{{"a", "1"}};
        QTest::newRow("empty element, other elements ignored")
            << QByteArray("<S><entry name='a'/><foo name='x'>1</foo><entry name='b'>2</entry></S>")
            << true << NameValues{{"a", ""}, {"b", "2"}};
        QTest::newRow("encrypted only when exactly 1")
            << QByteArray("<S><entry name='a' encrypted='true'>86888a</entry>"
                          "<entry name='b' encrypted='1'>86888a</entry></S>")
            << true << NameValues{{"a", "86888a"}, {"b", "abc"}};
        QTest::newRow("an inner element ends the entry")
            << QByteArray("<S><entry name='a'>x<b/>y</entry><entry name='c'>z</entry></S>") << true
            << NameValues{{"a", "x"}, {"c", "z"}};
        QTest::newRow("comments and CDATA do not split the value")
            << QByteArray("<S><entry name='a'>x<!--c-->y<![CDATA[<z>]]>&#x20AC;</entry></S>")
            << true << NameValues{{"a", QString::fromUtf8("xy<z>\u20ac")}};
        QTest::newRow("declared encoding, double quotes")
            << QByteArray("<?xml version='1.0' encoding='ISO-8859-1'?>\n<S>\n  <entry units=\"d\" "
                          "name=\"a\">\xe9</entry>\n</S>\n")
            << true << NameValues{{"a", QString::fromUtf8("\u00e9")}};

        QTest::newRow("missing") << QByteArray() << false << none;
        QTest::newRow("empty") << QByteArray("") << false << none;
        QTest::newRow("truncated")
            << QByteArray("<S><entry name='a'>1</entry><entry name='b'>2") << false << a;
        // The reader expands these before it even reports the declaration.
        QTest::newRow("parameter entities")
            << ("<!DOCTYPE S [<!ENTITY % p '<!ENTITY e \"" + QByteArray(4000, 'x') + "\">'>" +
                QByteArray("%p;").repeated(10000) + "]><S/>")
            << false << none;
        QTest::newRow("deep nesting")
            << ("<S><entry name='a'>1</entry>" + QByteArray("<d>").repeated(100000) +
                QByteArray("</d>").repeated(100000) + "</S>")
            << false << a;
        QTest::newRow("larger than any preferences file")
            << ("<S><entry name='a'>" + QByteArray(XmlPreferences::MaximumFileSize, 'x') +
                "</entry></S>")
            << false << none;
    }

    void loads()
    {
        QFETCH(QByteArray, document);
        QFETCH(bool, wellFormed);
        QFETCH(NameValues, read);

        if (!document.isNull())
            QVERIFY(writeFile(path("p.xml"), document));
        read.insert("Kept", "yes");
        for (const bool tolerant : {false, true}) {
            XmlPreferences store("t");
            store.setString("Kept", "yes");
            QCOMPARE(store.load(path("p.xml"), tolerant), wellFormed || tolerant);
            QCOMPARE(store.entryMap(), read);
        }
    }

    // A store's file path and type come from where it is loaded; a copy takes no path.
    void locationsAndCopies()
    {
        XmlPreferences store("Sample Settings");
        QVERIFY(store.load(QUrl::fromLocalFile(path("kiosk.prefs.xml")).toString(), true));
        QCOMPARE(store.filePath(), path("kiosk.prefs.xml"));
        QCOMPARE(store.storeType(), "kiosk.prefs");

        XmlPreferences other("sample settings");
        QVERIFY(other.load(path("plain #1 %20"), true));
        QCOMPARE(other.filePath(), path("plain #1 %20"));
        QCOMPARE(other.storeType(), "sample settings");

        XmlPreferences original("orig");
        original.setEntry({"Pin", "abc", "days", true});
        QVERIFY(original.load(path("orig.xml"), true));
        XmlPreferences copy(original);
        QCOMPARE(copy.toXml("\n"), original.toXml("\n"));
        QVERIFY(!copy.save());

        other = original; // keeps its own path
        QCOMPARE(other.toXml("\n"), original.toXml("\n"));
        QCOMPARE(other.filePath(), path("plain #1 %20"));
    }

    void readsNumbersInUnits_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("units");
        QTest::addColumn<QString>("requested");
        QTest::addColumn<int>("result");

        unitsRow("1.5 rounds away from zero", "90", "Seconds", "MINUTES", 2);
        unitsRow("below one half", "89", "seconds", "minutes", 1);
        unitsRow("negative", "-90", "seconds", "minutes", -2);
        unitsRow("milliseconds", "1500", "milliseconds", "seconds", 2);
        unitsRow("days to hours", "1", "days", "hours", 24);
        unitsRow("clamped", "100000", "days", "milliseconds", INT_MAX);
        unitsRow("no stored units", "90", "", "minutes", 90);
        unitsRow("unknown units", "90", "fortnights", "minutes", 90);
        unitsRow("no requested units", "90", "seconds", "", 90);
        unitsRow("no number", "12abc", "hours", "seconds", 0);
    }

    void readsNumbersInUnits()
    {
        QFETCH(QString, value);
        QFETCH(QString, units);
        QFETCH(QString, requested);

        XmlPreferences store;
        store.setEntry({"Timeout", value, units, false});
        QTEST(store.getIntInUnits("TIMEOUT", 7, requested), "result");
        QCOMPARE(store.getIntInUnits("absent", 7, requested), 7);
        QCOMPARE(store.getInt("timeout", 7), value.toInt());
    }

    void conversionFailuresAreNamed()
    {
        QCOMPARE(errorText([] { XmlPreferences::convertUnits(1, "Seconds", "weeks"); }),
                 "Conversion Failure: Could not convert from Seconds to weeks");
        QCOMPARE(errorText([] { XmlPreferences::conversionFactor("weeks"); }),
                 "Conversion Failure: Unable to get conversion factor from weeks to seconds");
    }

    void renameEntry()
    {
        XmlPreferences store("t");
        fill(store, {{"Old", "5", "seconds", true},
                     {"New", "2", "", false},
                     {"Same", "1", "days", false},
                     {"Empty", "", "", false}});
        const auto rename = [&store](const char *oldKey, const char *newKey, bool addIfMissing) {
            store.renameEntry(oldKey, newKey, addIfMissing, "7", "minutes");
        };
        rename("OLD", "New Key", false); // value, units and scrambling move, the name upper-cased
        rename("same", "SAME", false);   // the same key in another case keeps its entry
        rename("Empty", "Added", true);  // an empty value counts as missing
        rename("Missing", "Not Added", false);

        XmlPreferences expected("t");
        fill(expected, {{"NEW KEY", "5", "seconds", true},
                        {"New", "2", "", false},
                        {"SAME", "1", "days", false},
                        {"Empty", "", "", false},
                        {"Added", "7", "minutes", false}});
        QCOMPARE(store.toXml("\n"), expected.toXml("\n"));
    }

    void failedSaveKeepsTheOldFile()
    {
        XmlPreferences store("t");
        store.setString("a", "1");
        QVERIFY(store.load(path("p.xml"), true));
        QVERIFY(store.save());
        const QByteArray old = readFile(path("p.xml"));

        store.setString("b", QString(4096, u'x'));
        bool saved = true;
        QVERIFY(withFileSizeLimit(256, [&] { saved = store.save(); }));
        QVERIFY(!saved);
        QCOMPARE(readFile(path("p.xml")), old);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"p.xml"});
        QVERIFY(store.save());
    }

    void codecs_data()
    {
        QTest::addColumn<bool>("legacy");
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QString>("encoded");
        QTest::addColumn<int>("direction"); // DecodeOnly: input no encoder writes

        codecRow("outside the BMP", Hex, QString::fromUtf8("\U0001F600"), "a503f5c5");
        codecRow("upper-case digits", Hex, "abc", "86888A", DecodeOnly);
        codecRow("odd length ignores the last character", Hex, "abc", "86888a7", DecodeOnly);
        // A pair read as 0 gives (0 + 0x3C) rotated right: 0x1E.
        codecRow("no hexadecimal number", Hex, QString::fromUtf8("a\x1e"), "86g8", DecodeOnly);
        codecRow("half a number", Hex, QString::fromUtf8("\x1e"), "8g", DecodeOnly);
        // Found by fuzzing: reading the bytes as UTF-8 dropped a leading byte-order mark.
        codecRow("byte-order mark first", Hex, QStringLiteral("\ufeffpin"), "a33b43a496a0");
        // The bytes E2 AC begin a three-byte sequence that never ends.
        codecRow("cut sequence", Hex, QStringLiteral("\ufffd\ufffd"), "891d", DecodeOnly);

        codecRow("backslash is the pipe escape", Legacy, "\\", "#^#"); // 2 * 92 - 60 = 124
        codecRow("tilde", Legacy, "~", QString(QChar(0xC0)));          // 2 * 126 - 60 = 192
        codecRow("code 30 encodes to U+0000", Legacy, QStringLiteral("a\u001eb"),
                 QString::fromLatin1("\x86\0\x88", 3));
        // Characters 30 to 127 are one byte in UTF-8 and survive; 128 and above are two bytes,
        // the first beyond what the doubling keeps (U+0096 comes back as "B\ufffd").
        codecRow("last character that survives", Legacy, "\x7f", QString(QChar(0xC2)));
        codecRow("two-byte character is garbled", Legacy, QStringLiteral("\u0096"),
                 QString::fromLatin1("H\xf0"), EncodeOnly);
        codecRow("and does not come back", Legacy, QStringLiteral("B\ufffd"),
                 QString::fromLatin1("H\xf0"), DecodeOnly);
        codecRow("between backslashes", Legacy, "a\\b", QString::fromLatin1("\x86#^#\x88"));
        codecRow("1024 characters", Legacy, QString(1024, u'A'), QString(1024, u'F'));
        // Found by fuzzing: the limit was applied to the escaped text, so a text with backslashes
        // encoded to something decode refused.
        codecRow("1024 backslashes", Legacy, QString(1024, u'\\'), QString("#^#").repeated(1024));
        codecRow("bare pipe", Legacy, "\\", "|", DecodeOnly);
        // "#^##^#^#" is "||^#"; "^" (94) and "#" (35) then decode to "M" and "/".
        codecRow("scanning continues after a replacement", Legacy, "\\\\M/", "#^##^#^#",
                 DecodeOnly);
        // (71 + 60) / 2 = 65
        codecRow("odd code drops the remainder", Legacy, "A", "G", DecodeOnly);
        codecRow("outside Latin-1 reads as code 0", Legacy, QString(QChar(30)),
                 QString(QChar(0x20AC)), DecodeOnly);
    }

    void codecs()
    {
        QFETCH(bool, legacy);
        QFETCH(QString, plain);
        QFETCH(QString, encoded);
        QFETCH(int, direction);

        const UtilsLib::HexCodec hex;
        const LegacyHexCodec legacyCodec;
        const TextCodec &codec = legacy ? static_cast<const TextCodec &>(legacyCodec) : hex;
        if (direction != DecodeOnly)
            QCOMPARE(codec.encode(plain), encoded);
        if (direction != EncodeOnly)
            QCOMPARE(codec.decode(encoded), plain);
    }

    void legacyRefusesLongTexts()
    {
        const QString text(1025, u'A');
        QVERIFY(LegacyHexCodec().encode(text).isNull());
        QVERIFY(LegacyHexCodec().decode(text).isNull());
        QVERIFY(LegacyHexCodec().decode(QString("#^#").repeated(1025)).isNull());
        QVERIFY(LegacyHexCodec().decode(QString("#^#").repeated(1024) + "F").isNull());
    }

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
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
    TestSettings test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_settings.moc"
