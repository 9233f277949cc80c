#include "settings/XmlPreferences.h"

#include "FileSizeLimit.h"

#include <QtTest>

#include <climits>
#include <stdexcept>
#include <thread>

using UtilsLib::PreferenceEntry;
using UtilsLib::XmlPreferences;

using Entries = QList<PreferenceEntry>;
using NameValues = QMap<QString, QString>;
Q_DECLARE_METATYPE(PreferenceEntry)
Q_DECLARE_METATYPE(NameValues)

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

void fill(XmlPreferences &store, const Entries &entries)
{
    for (const PreferenceEntry &entry : entries)
        store.setEntry(entry);
}

QByteArray header(const QByteArray &type)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n"
           "<Settings>\r\n"
           "<version>1.1</version>\r\n"
           "<type>" +
           type + "</type>\r\n";
}

QByteArray billionLaughs()
{
    QByteArray doc = "<!DOCTYPE Settings [<!ENTITY l0 'llllllllll'>";
    for (int i = 1; i < 10; ++i) {
        doc += "<!ENTITY l" + QByteArray::number(i) + " '" +
               ("&l" + QByteArray::number(i - 1) + ";").repeated(10) + "'>";
    }
    return doc + "]><Settings><entry name='a'>&l9;</entry></Settings>";
}

} // namespace

class TestXmlPreferences : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void writesTheLoggingDefaults();
    void writesTheFormat_data();
    void writesTheFormat();
    void xmllintAcceptsTheFile();
    void roundTrips_data();
    void roundTrips();
    void loadMergesIntoTheStore();
    void readsWhatTheFormatAllows_data();
    void readsWhatTheFormatAllows();
    void badFilesFail_data();
    void badFilesFail();
    void missingFileSetsThePath();
    void sampleSettingsTakesTheFileName_data();
    void sampleSettingsTakesTheFileName();
    void getIntReadsDecimalText_data();
    void getIntReadsDecimalText();
    void getIntInUnitsConverts_data();
    void getIntInUnitsConverts();
    void conversionFailuresName_data();
    void conversionFailuresName();
    void renameEntry_data();
    void renameEntry();
    void copiesTakeTypeAndEntriesButNoPath();
    void setAllLoadsThenStores();
    void getAllThrows();
    void keysIgnoreCaseNamesDoNot();
    void saveCreatesFoldersAndRemoveFileKeepsEntries();
    void failedSaveKeepsTheOldFile();
    void configDirectoryIsUnderTheCommonFolder();
    void threadsShareOneStore();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestXmlPreferences::initTestCase()
{
    qRegisterMetaType<PreferenceEntry>();
}

void TestXmlPreferences::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestXmlPreferences::writesTheLoggingDefaults()
{
    XmlPreferences store(QStringLiteral("ondtpc"));
    QVERIFY(store.load(path("ondtpc.xml"), true));
    store.setInt(QStringLiteral("Logging: Enabled"), 1);
    store.setInt(QStringLiteral("Logging: Maximum File Size in MB"), 10);
    store.setInt(QStringLiteral("Logging: Maximum Number of Backups"), 3);
    store.setInt(QStringLiteral("Logging: Verbose"), 1);
    store.setInt(QStringLiteral("Logging Level"), 2);
    QVERIFY(store.save());

    QCOMPARE(readFile(path("ondtpc.xml")),
             QByteArray("<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n"
                        "<Settings>\r\n"
                        "<version>1.1</version>\r\n"
                        "<type>ondtpc</type>\r\n"
                        "<entry name='Logging Level'>2</entry>\r\n"
                        "<entry name='Logging: Enabled'>1</entry>\r\n"
                        "<entry name='Logging: Maximum File Size in MB'>10</entry>\r\n"
                        "<entry name='Logging: Maximum Number of Backups'>3</entry>\r\n"
                        "<entry name='Logging: Verbose'>1</entry>\r\n"
                        "</Settings>\r\n"));
}

void TestXmlPreferences::writesTheFormat_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<Entries>("entries");
    QTest::addColumn<QByteArray>("body");

    QTest::newRow("no entries") << "" << Entries{} << QByteArray();
    QTest::newRow("upper-cased key order")
        << "t" << Entries{{"b", "1", "", false}, {"_x", "2", "", false}, {"A", "3", "", false}}
        << QByteArray("<entry name='A'>3</entry>\r\n"
                      "<entry name='b'>1</entry>\r\n"
                      "<entry name='_x'>2</entry>\r\n");
    QTest::newRow("five entities in the value")
        << "t" << Entries{{"Value", "a&b<c>d\"e'f&amp;", "", false}}
        << QByteArray("<entry name='Value'>a&amp;b&lt;c&gt;d&quot;e&apos;f&amp;amp;</entry>\r\n");
    QTest::newRow("encrypted before units")
        << "t" << Entries{{"Pin", "abc", "seconds", true}}
        << QByteArray("<entry name='Pin' encrypted='1' units='seconds'>86888a</entry>\r\n");
    QTest::newRow("encrypted euro sign")
        << "t" << Entries{{"K", QString::fromUtf8("\u20ac"), "", true}}
        << QByteArray("<entry name='K' encrypted='1'>89c91d</entry>\r\n");
    QTest::newRow("units as given")
        << "t" << Entries{{"Timeout", "90", "Seconds", false}}
        << QByteArray("<entry name='Timeout' units='Seconds'>90</entry>\r\n");
    QTest::newRow("last spelling of a key")
        << "t"
        << Entries{{"Logging: Enabled", "1", "", false}, {"logging: enabled", "0", "", false}}
        << QByteArray("<entry name='logging: enabled'>0</entry>\r\n");
    QTest::newRow("empty value") << "t" << Entries{{"E", "", "", false}}
                                 << QByteArray("<entry name='E'></entry>\r\n");
    QTest::newRow("utf-8") << QString::fromUtf8("Gr\u00fc\u00dfe")
                           << Entries{{QString::fromUtf8("\u00c9t\u00e9"),
                                       QString::fromUtf8("\u20ac5"), "", false}}
                           << QByteArray("<entry name='\xc3\x89t\xc3\xa9'>\xe2\x82\xac"
                                         "5</entry>\r\n");
    // Markup in a name, a type or units would make the file unreadable: escaped like values.
    QTest::newRow("markup in name and type")
        << "a&b" << Entries{{"it's <x>", "1", "s'", false}}
        << QByteArray("<entry name='it&apos;s &lt;x&gt;' units='s&apos;'>1</entry>\r\n");
    // A reader turns raw CR (and, in attributes, tab and line feed) into other characters.
    QTest::newRow("line breaks survive")
        << "t" << Entries{{"x\ty\n", "a\r\nb\tc", "", false}}
        << QByteArray("<entry name='x&#9;y&#10;'>a&#13;\nb\tc</entry>\r\n");
    QTest::newRow("characters XML cannot hold are left out")
        << "t"
        << Entries{{"C",
                    QString::fromUtf8("a\x01"
                                      "b\x1f") +
                        QChar(0xD800) + "c",
                    "", false}}
        << QByteArray("<entry name='C'>abc</entry>\r\n");
}

void TestXmlPreferences::writesTheFormat()
{
    QFETCH(QString, type);
    QFETCH(Entries, entries);
    QFETCH(QByteArray, body);

    XmlPreferences store(type);
    fill(store, entries);
    QVERIFY(store.load(path("p.xml"), true));
    QVERIFY(store.save());

    const QByteArray typeBytes = type == QLatin1String("a&b") ? "a&amp;b" : type.toUtf8();
    QCOMPARE(readFile(path("p.xml")), header(typeBytes) + body + "</Settings>\r\n");
}

void TestXmlPreferences::xmllintAcceptsTheFile()
{
    const QString xmllint = QStandardPaths::findExecutable(QStringLiteral("xmllint"));
    QVERIFY2(!xmllint.isEmpty(), "xmllint is missing; scripts/bootstrap installs libxml2-utils");

    XmlPreferences store(QStringLiteral("<ondtpc & co>"));
    fill(store,
         {{"Value", "a&b<c>d\"e'f", "", false},
          {"Pin", QString::fromUtf8("p\u20ac"), "seconds", true},
          {"it's", "x\r\ny", "minutes", false},
          {QString::fromUtf8("\u65e5\u672c"), QString::fromUtf8("Gr\u00fc\u00dfe"), "", false},
          {"Empty", "", "", false}});
    QVERIFY(store.load(path("lint.xml"), true));
    QVERIFY(store.save());

    QProcess process;
    process.start(xmllint, {QStringLiteral("--noout"), path("lint.xml")});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.readAllStandardError(), QByteArray());
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
}

void TestXmlPreferences::roundTrips_data()
{
    QTest::addColumn<Entries>("entries");

    QTest::newRow("every entity") << Entries{{"V", "&<>\"'&amp;&lt;", "", false}};
    QTest::newRow("encrypted with units") << Entries{{"Pin", "1234", "minutes", true}};
    QTest::newRow("non-ascii through the codec")
        << Entries{{"Secret", QString::fromUtf8("\u65e5\u672c \u20ac \U0001F600"), "", true}};
    QTest::newRow("markup and breaks in names")
        << Entries{{"a'b\"<c>&\t\n", "line\r\nnext\rlast\n", "da'ys", false}};
    QTest::newRow("empty values") << Entries{{"E", "", "", false}, {"F", "", "hours", true}};
    QTest::newRow("many keys") << Entries{{"z", "1", "", false},
                                          {"Y", "2", "", false},
                                          {"x", "3", "", true},
                                          {"W", "4", "days", false}};
}

void TestXmlPreferences::roundTrips()
{
    QFETCH(Entries, entries);

    XmlPreferences store(QStringLiteral("t"));
    fill(store, entries);
    QVERIFY(store.load(path("p.xml"), true));
    QVERIFY(store.save());

    XmlPreferences loaded(QStringLiteral("t"));
    QVERIFY(loaded.load(path("p.xml"), false));
    QCOMPARE(loaded.entryCount(), entries.size());
    for (const PreferenceEntry &entry : std::as_const(entries)) {
        QVERIFY2(loaded.hasEntry(entry.name), qPrintable(entry.name));
        QCOMPARE(loaded.getString(entry.name, QStringLiteral("absent")), entry.value);
        QCOMPARE(loaded.getUnits(entry.name),
                 entry.units.isEmpty() ? QStringLiteral("unknown") : entry.units);
    }
    // The encrypted flags came back too: the loaded store writes the same file.
    QCOMPARE(loaded.toXml(QStringLiteral("\r\n")).toUtf8(), readFile(path("p.xml")));
}

void TestXmlPreferences::loadMergesIntoTheStore()
{
    writeFile(path("p.xml"), "<Settings><type>other</type>"
                             "<entry name='shared'>new</entry>"
                             "<entry name='Added' units='hours'>2</entry></Settings>");
    XmlPreferences store(QStringLiteral("mine"));
    store.setString(QStringLiteral("Keep"), QStringLiteral("1"));
    store.setEntry({"Shared", "old", "days", true});

    QVERIFY(store.load(path("p.xml"), false));
    QCOMPARE(store.storeType(), QStringLiteral("mine"));
    QCOMPARE(store.entryMap(), (NameValues{{"Keep", "1"}, {"shared", "new"}, {"Added", "2"}}));
    QCOMPARE(store.getUnits(QStringLiteral("SHARED")), QStringLiteral("unknown"));
    QCOMPARE(store.getUnits(QStringLiteral("added")), QStringLiteral("hours"));
}

void TestXmlPreferences::readsWhatTheFormatAllows_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<NameValues>("entries");

    QTest::newRow("empty entry element")
        << QByteArray("<Settings><entry name='a'/></Settings>") << NameValues{{"a", ""}};
    QTest::newRow("only elements named entry")
        << QByteArray("<Settings><type>t</type><foo name='x'>1</foo><entry name='e'>2</entry>"
                      "</Settings>")
        << NameValues{{"e", "2"}};
    QTest::newRow("encrypted only when exactly 1")
        << QByteArray("<S><entry name='a' encrypted='true'>86888a</entry>"
                      "<entry name='b' encrypted='1'>86888a</entry></S>")
        << NameValues{{"a", "86888a"}, {"b", "abc"}};
    QTest::newRow("an inner element ends the entry")
        << QByteArray("<S><entry name='a'>x<b/>y</entry><entry name='c'>z</entry></S>")
        << NameValues{{"a", "x"}, {"c", "z"}};
    QTest::newRow("comments and CDATA do not split the value")
        << QByteArray("<S><entry name='a'>x<!--c-->y<![CDATA[<z>]]></entry></S>")
        << NameValues{{"a", "xy<z>"}};
    QTest::newRow("character references")
        << QByteArray("<S><entry name='&#x41;'>&#x20AC;&#13;</entry></S>")
        << NameValues{{"A", QString::fromUtf8("\u20ac\r")}};
    QTest::newRow("declared encoding")
        << QByteArray("<?xml version='1.0' encoding='ISO-8859-1'?>\n<S>\n  <entry name='a'>\xe9"
                      "</entry>\n</S>\n")
        << NameValues{{"a", QString::fromUtf8("\u00e9")}};
    QTest::newRow("double-quoted attributes, LF lines")
        << QByteArray("<?xml version=\"1.0\"?>\n<Settings>\n<entry units=\"days\" name=\"d\">3"
                      "</entry>\n</Settings>\n")
        << NameValues{{"d", "3"}};
    QTest::newRow("duplicate keys: the last wins")
        << QByteArray("<S><entry name='Key'>1</entry><entry name='KEY'>2</entry></S>")
        << NameValues{{"KEY", "2"}};
}

void TestXmlPreferences::readsWhatTheFormatAllows()
{
    QFETCH(QByteArray, document);
    QFETCH(NameValues, entries);

    writeFile(path("p.xml"), document);
    XmlPreferences store(QStringLiteral("t"));
    QVERIFY(store.load(path("p.xml"), false));
    QCOMPARE(store.entryMap(), entries);
    QCOMPARE(store.storeType(), QStringLiteral("t"));
}

void TestXmlPreferences::badFilesFail_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<NameValues>("readBeforeTheError");

    const NameValues none;
    QTest::newRow("empty file") << QByteArray() << none;
    QTest::newRow("binary garbage") << QByteArray("\x00\xff\xfe\x01<\x80\x81>", 8) << none;
    QTest::newRow("truncated") << QByteArray("<Settings><entry name='a'>1</entry><entry name='b'>2")
                               << NameValues{{"a", "1"}};
    QTest::newRow("two root elements") << QByteArray("<a/><b/>") << none;
    QTest::newRow("undeclared entity")
        << QByteArray("<S><entry name='a'>1</entry><entry name='b'>&x;</entry></S>")
        << NameValues{{"a", "1"}};
    QTest::newRow("billion laughs") << billionLaughs() << none;
    QTest::newRow("billion laughs in UTF-16")
        << (QByteArray("\xff\xfe") +
            QByteArray(reinterpret_cast<const char *>(QString::fromLatin1(billionLaughs()).utf16()),
                       billionLaughs().size() * 2))
        << none;
    // One small entity referenced many times expands far beyond the file's size.
    QTest::newRow("quadratic blow-up")
        << ("<!DOCTYPE S [<!ENTITY e '" + QByteArray(4000, 'x') + "'>]><S><entry name='a'>" +
            QByteArray("&e;").repeated(100000) + "</entry></S>")
        << none;
    QTest::newRow("parameter entities declaring entities")
        << ("<!DOCTYPE S [<!ENTITY % p '<!ENTITY e \"" + QByteArray(4000, 'x') + "\">'>" +
            QByteArray("%p;").repeated(10000) + "]><S/>")
        << none;
    QTest::newRow("external entity")
        << QByteArray("<!DOCTYPE S [<!ENTITY e SYSTEM 'file:///etc/passwd'>]>"
                      "<S><entry name='a'>&e;</entry></S>")
        << none;
    QTest::newRow("deep nesting") << ("<S><entry name='a'>1</entry>" +
                                      QByteArray("<d>").repeated(100000) +
                                      QByteArray("</d>").repeated(100000) + "</S>")
                                  << NameValues{{"a", "1"}};
    QTest::newRow("larger than any preferences file")
        << ("<S><entry name='a'>" + QByteArray(XmlPreferences::MaximumFileSize, 'x') +
            "</entry></S>")
        << none;
}

void TestXmlPreferences::badFilesFail()
{
    QFETCH(QByteArray, document);
    QFETCH(NameValues, readBeforeTheError);

    writeFile(path("bad.xml"), document);
    for (const bool tolerant : {false, true}) {
        XmlPreferences store(QStringLiteral("t"));
        store.setString(QStringLiteral("Kept"), QStringLiteral("yes"));
        QCOMPARE(store.load(path("bad.xml"), tolerant), tolerant);
        NameValues expected = readBeforeTheError;
        expected.insert(QStringLiteral("Kept"), QStringLiteral("yes"));
        QCOMPARE(store.entryMap(), expected);
    }
}

void TestXmlPreferences::missingFileSetsThePath()
{
    XmlPreferences store(QStringLiteral("t"));
    QVERIFY(!store.load(path("missing.xml"), false));
    QCOMPARE(store.filePath(), path("missing.xml"));
    QVERIFY(store.load(QUrl::fromLocalFile(path("other file#1.xml")).toString(), true));
    QCOMPARE(store.filePath(), path("other file#1.xml"));
    QVERIFY(store.load(path("plain #1 %20.xml"), true));
    QCOMPARE(store.filePath(), path("plain #1 %20.xml"));
}

void TestXmlPreferences::sampleSettingsTakesTheFileName_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("newType");

    QTest::newRow("text before the last dot") << "Sample Settings"
                                              << "kiosk.prefs.xml"
                                              << "kiosk.prefs";
    QTest::newRow("no dot") << "Sample Settings"
                            << "kiosk"
                            << "kiosk";
    QTest::newRow("other types stay") << "sample settings"
                                      << "kiosk.xml"
                                      << "sample settings";
}

void TestXmlPreferences::sampleSettingsTakesTheFileName()
{
    QFETCH(QString, type);
    QFETCH(QString, fileName);
    QFETCH(QString, newType);

    writeFile(path(fileName), "<Settings><type>ignored</type></Settings>");
    XmlPreferences store(type);
    QVERIFY(store.load(path(fileName), false));
    QCOMPARE(store.storeType(), newType);
}

void TestXmlPreferences::getIntReadsDecimalText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("number");

    QTest::newRow("positive") << "42" << 42;
    QTest::newRow("negative") << "-7" << -7;
    QTest::newRow("words") << "abc" << 0;
    QTest::newRow("trailing letters") << "12abc" << 0;
    QTest::newRow("hexadecimal") << "0x1f" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("out of range") << "99999999999" << 0;
}

void TestXmlPreferences::getIntReadsDecimalText()
{
    QFETCH(QString, text);
    QFETCH(int, number);

    XmlPreferences store;
    store.setEntry({"N", text, "seconds", false});
    QCOMPARE(store.getInt(QStringLiteral("n"), 5), number);
    QCOMPARE(store.getIntInUnits(QStringLiteral("n"), 5, QStringLiteral("seconds")), number);
    QCOMPARE(store.getInt(QStringLiteral("absent"), 5), 5);
}

void TestXmlPreferences::getIntInUnitsConverts_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("units");
    QTest::addColumn<QString>("requested");
    QTest::addColumn<int>("result");

    QTest::newRow("1.5 rounds up") << "90"
                                   << "seconds"
                                   << "minutes" << 2;
    QTest::newRow("unit names ignore case") << "90"
                                            << "Seconds"
                                            << "MINUTES" << 2;
    QTest::newRow("below one half rounds down") << "89"
                                                << "seconds"
                                                << "minutes" << 1;
    QTest::newRow("negative rounds away from zero") << "-90"
                                                    << "seconds"
                                                    << "minutes" << -2;
    QTest::newRow("milliseconds half") << "1500"
                                       << "milliseconds"
                                       << "seconds" << 2;
    QTest::newRow("milliseconds below half") << "1499"
                                             << "milliseconds"
                                             << "seconds" << 1;
    QTest::newRow("days to hours") << "1"
                                   << "days"
                                   << "hours" << 24;
    QTest::newRow("hours to milliseconds") << "2"
                                           << "hours"
                                           << "milliseconds" << 7200000;
    QTest::newRow("too large is clamped") << "100000"
                                          << "days"
                                          << "milliseconds" << INT_MAX;
    QTest::newRow("too small is clamped") << "-100000"
                                          << "days"
                                          << "milliseconds" << INT_MIN;
    QTest::newRow("no stored units") << "90"
                                     << ""
                                     << "minutes" << 90;
    QTest::newRow("unknown stored units") << "90"
                                          << "fortnights"
                                          << "minutes" << 90;
    QTest::newRow("no requested units") << "90"
                                        << "seconds"
                                        << "" << 90;
    QTest::newRow("no number") << "abc"
                               << "hours"
                               << "seconds" << 0;
}

void TestXmlPreferences::getIntInUnitsConverts()
{
    QFETCH(QString, value);
    QFETCH(QString, units);
    QFETCH(QString, requested);
    QFETCH(int, result);

    XmlPreferences store;
    store.setEntry({"Timeout", value, units, false});
    QCOMPARE(store.getIntInUnits(QStringLiteral("TIMEOUT"), 7, requested), result);
    QCOMPARE(store.getIntInUnits(QStringLiteral("absent"), 7, requested), 7);
}

void TestXmlPreferences::conversionFailuresName_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("message");

    QTest::newRow("empty source") << ""
                                  << "seconds"
                                  << "Conversion Failure: Could not convert from  to seconds";
    QTest::newRow("unknown target")
        << "Seconds"
        << "weeks"
        << "Conversion Failure: Could not convert from Seconds to weeks";
}

void TestXmlPreferences::conversionFailuresName()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, message);

    QString caught;
    try {
        XmlPreferences::convertUnits(1, from, to);
    } catch (const std::runtime_error &error) {
        caught = QString::fromUtf8(error.what());
    }
    QCOMPARE(caught, message);

    try {
        XmlPreferences::conversionFactor(QStringLiteral("weeks"));
        caught.clear();
    } catch (const std::runtime_error &error) {
        caught = QString::fromUtf8(error.what());
    }
    QCOMPARE(caught,
             QStringLiteral(
                 "Conversion Failure: Unable to get conversion factor from weeks to seconds"));
}

void TestXmlPreferences::renameEntry_data()
{
    QTest::addColumn<Entries>("before");
    QTest::addColumn<QString>("oldKey");
    QTest::addColumn<QString>("newKey");
    QTest::addColumn<bool>("addIfMissing");
    QTest::addColumn<Entries>("after");

    QTest::newRow("moves value and units under the upper-cased name")
        << Entries{{"Old Key", "5", "seconds", false}} << "old key"
        << "New Key" << false << Entries{{"NEW KEY", "5", "seconds", false}};
    QTest::newRow("stays encrypted") << Entries{{"Pin", "abc", "", true}} << "Pin"
                                     << "Pin2" << false << Entries{{"PIN2", "abc", "", true}};
    QTest::newRow("replaces the new key's entry")
        << Entries{{"Old", "1", "", false}, {"New", "2", "hours", false}} << "Old"
        << "new" << false << Entries{{"NEW", "1", "", false}};
    QTest::newRow("same key in another case keeps the entry")
        << Entries{{"Key", "1", "days", false}} << "Key"
        << "key" << false << Entries{{"KEY", "1", "days", false}};
    QTest::newRow("empty value adds the default")
        << Entries{{"Old", "", "", false}} << "Old"
        << "New" << true << Entries{{"Old", "", "", false}, {"New", "7", "minutes", false}};
    QTest::newRow("missing key adds the default")
        << Entries{} << "Old"
        << "New" << true << Entries{{"New", "7", "minutes", false}};
    QTest::newRow("missing key without the flag")
        << Entries{{"Other", "1", "", false}} << "Old"
        << "New" << false << Entries{{"Other", "1", "", false}};
}

void TestXmlPreferences::renameEntry()
{
    QFETCH(Entries, before);
    QFETCH(QString, oldKey);
    QFETCH(QString, newKey);
    QFETCH(bool, addIfMissing);
    QFETCH(Entries, after);

    XmlPreferences store(QStringLiteral("t"));
    fill(store, before);
    store.renameEntry(oldKey, newKey, addIfMissing, QStringLiteral("7"), QStringLiteral("minutes"));

    XmlPreferences expected(QStringLiteral("t"));
    fill(expected, after);
    QCOMPARE(store.toXml(QStringLiteral("\n")), expected.toXml(QStringLiteral("\n")));
    QCOMPARE(store.entryMap(), expected.entryMap());
}

void TestXmlPreferences::copiesTakeTypeAndEntriesButNoPath()
{
    XmlPreferences original(QStringLiteral("orig"));
    original.setEntry({"Pin", "abc", "days", true});
    QVERIFY(original.load(path("orig.xml"), true));

    XmlPreferences copy(original);
    QCOMPARE(copy.storeType(), QStringLiteral("orig"));
    QCOMPARE(copy.toXml(QStringLiteral("\n")), original.toXml(QStringLiteral("\n")));
    QVERIFY(copy.filePath().isEmpty());
    QVERIFY(!copy.save());

    XmlPreferences assigned(QStringLiteral("other"));
    QVERIFY(assigned.load(path("assigned.xml"), true));
    assigned = original;
    QCOMPARE(assigned.storeType(), QStringLiteral("orig"));
    QCOMPARE(assigned.filePath(), path("assigned.xml"));

    copy.setString(QStringLiteral("pin"), QStringLiteral("changed"));
    QCOMPARE(original.getString(QStringLiteral("PIN"), QString()), QStringLiteral("abc"));
}

void TestXmlPreferences::setAllLoadsThenStores()
{
    writeFile(path("p.xml"),
              "<S><entry name='a'>1</entry><entry name='b' units='days'>2</entry></S>");
    XmlPreferences store(QStringLiteral("t"));
    QVERIFY(store.setAll({{"B", 20}, {"c", QStringLiteral("three")}}, path("p.xml")));
    QCOMPARE(store.entryMap(), (NameValues{{"a", "1"}, {"B", "20"}, {"c", "three"}}));
    QCOMPARE(store.getUnits(QStringLiteral("b")), QStringLiteral("unknown"));
    QCOMPARE(store.filePath(), path("p.xml"));

    XmlPreferences other(QStringLiteral("t"));
    QVERIFY(other.setAll({{"x", true}}, path("missing.xml")));
    QVERIFY(other.setAll({{"y", 1.5}}, QString()));
    QCOMPARE(other.entryMap(), (NameValues{{"x", "true"}, {"y", "1.5"}}));
}

void TestXmlPreferences::getAllThrows()
{
    XmlPreferences store;
    QString caught;
    try {
        store.getAll();
    } catch (const std::runtime_error &error) {
        caught = QString::fromUtf8(error.what());
    }
    QCOMPARE(caught, QStringLiteral("XmlPreferences::getAll() not implemented"));
}

void TestXmlPreferences::keysIgnoreCaseNamesDoNot()
{
    XmlPreferences store(QStringLiteral("t"));
    store.setInt(QStringLiteral("Logging: Enabled"), 1);
    store.setEncryptedString(QStringLiteral("logging: enabled"), QStringLiteral("0"), true);
    QCOMPARE(store.entryCount(), 1);
    QCOMPARE(store.getInt(QStringLiteral("LOGGING: ENABLED"), 9), 0);
    QVERIFY(store.hasEntry(QStringLiteral("logging: enabled")));
    QVERIFY(!store.hasEntry(QStringLiteral("Logging: Enabled")));
    QCOMPARE(store.entryMap(), (NameValues{{"logging: enabled", "0"}}));

    store.remove(QStringLiteral("LOGGING: enabled"));
    store.remove(QStringLiteral("absent"));
    QCOMPARE(store.entryCount(), 0);

    store.setString(QStringLiteral("a"), QStringLiteral("1"));
    store.clear();
    QCOMPARE(store.entryCount(), 0);
    QVERIFY(store.storeType().isEmpty());
}

void TestXmlPreferences::saveCreatesFoldersAndRemoveFileKeepsEntries()
{
    XmlPreferences store(QStringLiteral("t"));
    QVERIFY(!store.save());
    store.setString(QStringLiteral("a"), QStringLiteral("1"));
    const QString nested = path("one/two/p.xml");
    QVERIFY(store.load(nested, true));
    QVERIFY(store.save());
    QVERIFY(QFileInfo::exists(nested));

    QVERIFY(store.removeFile());
    QVERIFY(!QFileInfo::exists(nested));
    QCOMPARE(store.getString(QStringLiteral("A"), QString()), QStringLiteral("1"));
    QVERIFY(!store.removeFile());
}

void TestXmlPreferences::failedSaveKeepsTheOldFile()
{
    XmlPreferences store(QStringLiteral("t"));
    store.setString(QStringLiteral("a"), QStringLiteral("1"));
    QVERIFY(store.load(path("p.xml"), true));
    QVERIFY(store.save());
    const QByteArray old = readFile(path("p.xml"));

    store.setString(QStringLiteral("b"), QString(4096, QLatin1Char('x')));
    bool saved = true;
    bool limited = false;
    {
        const FileSizeLimit limit(256);
        limited = limit.isActive();
        saved = store.save();
    }
    QVERIFY(limited);
    QVERIFY(!saved);
    QCOMPARE(readFile(path("p.xml")), old);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"p.xml"});

    QVERIFY(store.save());
    QVERIFY(readFile(path("p.xml")).size() > 4096);
}

void TestXmlPreferences::configDirectoryIsUnderTheCommonFolder()
{
    qputenv("ONDTPC_COMMON_APPDATA", m_dir->path().toUtf8());
    QCOMPARE(XmlPreferences::configDirectory(QStringLiteral("ondrel/ondclient")),
             m_dir->path() + QStringLiteral("/Brindlecore/ondrel/ondclient/config"));
    qunsetenv("ONDTPC_COMMON_APPDATA");
}

void TestXmlPreferences::threadsShareOneStore()
{
    XmlPreferences store(QStringLiteral("t"));
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&store, t] {
            for (int i = 0; i < 500; ++i) {
                store.setInt(QStringLiteral("k%1-%2").arg(t).arg(i), i);
                store.getInt(QStringLiteral("K%1-%2").arg(t).arg(i / 2), 0);
                if (i % 50 == 0)
                    store.toXml(QStringLiteral("\n"));
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    QCOMPARE(store.entryCount(), 2000);
}

QTEST_GUILESS_MAIN(TestXmlPreferences)
#include "tst_xmlpreferences.moc"
