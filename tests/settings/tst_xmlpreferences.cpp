#include "settings/XmlPreferences.h"

#include "FileSizeLimit.h"

#include <QtTest>

#include <climits>
#include <stdexcept>

using UtilsLib::PreferenceEntry;
using UtilsLib::XmlPreferences;

using Entries = QList<PreferenceEntry>;
using NameValues = QMap<QString, QString>;

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

QString errorText(const std::function<void()> &call)
{
    try {
        call();
    } catch (const std::runtime_error &error) {
        return QString::fromUtf8(error.what());
    }
    return QString();
}

} // namespace

class TestXmlPreferences : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void writesTheLoggingDefaults();
    void writesAndReadsBackTheFormat_data();
    void writesAndReadsBackTheFormat();
    void xmllintAcceptsTheFile();
    void loadMergesIntoTheStore();
    void readsWhatTheFormatAllows_data();
    void readsWhatTheFormatAllows();
    void badFilesFail_data();
    void badFilesFail();
    void locationsAndSampleSettings();
    void readsNumbersInUnits_data();
    void readsNumbersInUnits();
    void conversionFailuresAreNamed();
    void renameEntry_data();
    void renameEntry();
    void keysIgnoreCaseStoredNamesDoNot();
    void copiesTakeNoFilePath();
    void setAllLoadsThenStores();
    void failedSaveKeepsTheOldFile();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestXmlPreferences::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestXmlPreferences::writesTheLoggingDefaults()
{
    XmlPreferences store(QStringLiteral("ondtpc"));
    QVERIFY(store.load(path("sub/ondtpc.xml"), true));
    store.setInt(QStringLiteral("Logging: Enabled"), 1);
    store.setInt(QStringLiteral("Logging: Maximum File Size in MB"), 10);
    store.setInt(QStringLiteral("Logging: Maximum Number of Backups"), 3);
    store.setInt(QStringLiteral("Logging: Verbose"), 1);
    store.setInt(QStringLiteral("Logging Level"), 2);
    QVERIFY(store.save());

    QCOMPARE(readFile(path("sub/ondtpc.xml")),
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
    QVERIFY(store.removeFile());
    QVERIFY(!QFileInfo::exists(path("sub/ondtpc.xml")));
    QCOMPARE(store.entryCount(), 5);
}

void TestXmlPreferences::writesAndReadsBackTheFormat_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<Entries>("entries");
    QTest::addColumn<QByteArray>("lines"); // between the type line and "</Settings>"

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
    QTest::newRow("last spelling of a key")
        << "t"
        << Entries{{"Logging: Enabled", "1", "", false}, {"logging: enabled", "0", "", false}}
        << QByteArray("<type>t</type>\r\n<entry name='logging: enabled'>0</entry>\r\n");
    QTest::newRow("utf-8 and encrypted non-ascii")
        << QString::fromUtf8("Gr\u00fc\u00dfe")
        << Entries{{QString::fromUtf8("\u00c9t\u00e9"), QString::fromUtf8("\u20ac5"), "", false},
                   {"K", QString::fromUtf8("\u20ac"), "", true}}
        << QByteArray("<type>Gr\xc3\xbc\xc3\x9f"
                      "e</type>\r\n<entry name='K' encrypted='1'>89c91d</entry>\r\n"
                      "<entry name='\xc3\x89t\xc3\xa9'>\xe2\x82\xac"
                      "5</entry>\r\n");
    // Written raw, markup in a name, units or type made the whole file unreadable, and a
    // reader turns raw CR (in attributes also tab and LF) into other characters.
    QTest::newRow("markup and breaks outside values")
        << "a&b" << Entries{{"it's <x>\t\n", "a\r\nb\tc", "s'", false}}
        << QByteArray("<type>a&amp;b</type>\r\n<entry name='it&apos;s &lt;x&gt;&#9;&#10;' "
                      "units='s&apos;'>a&#13;\nb\tc</entry>\r\n");
}

void TestXmlPreferences::writesAndReadsBackTheFormat()
{
    QFETCH(QString, type);
    QFETCH(Entries, entries);
    QFETCH(QByteArray, lines);

    XmlPreferences store(type);
    fill(store, entries);
    QVERIFY(store.load(path("p.xml"), true));
    QVERIFY(store.save());
    const QByteArray file = readFile(path("p.xml"));
    QCOMPARE(file, "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n<Settings>\r\n"
                   "<version>1.1</version>\r\n" +
                       lines + "</Settings>\r\n");

    // Names, values, units and flags all came back when the loaded store writes the same.
    XmlPreferences loaded(type);
    QVERIFY(loaded.load(path("p.xml"), false));
    QCOMPARE(loaded.toXml(QStringLiteral("\r\n")).toUtf8(), file);
    QCOMPARE(loaded.entryMap(), store.entryMap());
}

void TestXmlPreferences::xmllintAcceptsTheFile()
{
    const QString xmllint = QStandardPaths::findExecutable(QStringLiteral("xmllint"));
    QVERIFY2(!xmllint.isEmpty(), "xmllint is missing; scripts/bootstrap installs libxml2-utils");

    XmlPreferences store(QStringLiteral("<ondtpc & co>"));
    fill(store, {{"V", "a&b<c>d\"e'f", "", false},
                 {"Pin", QString::fromUtf8("p\u20ac"), "seconds", true},
                 {"it's", QString::fromUtf8("x\r\n\u65e5\x01"), "min'utes", false}});
    QVERIFY(store.load(path("lint.xml"), true));
    QVERIFY(store.save());

    QProcess process;
    process.start(xmllint, {QStringLiteral("--noout"), path("lint.xml")});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.readAllStandardError(), QByteArray());
    QCOMPARE(process.exitCode(), 0);
}

void TestXmlPreferences::loadMergesIntoTheStore()
{
    writeFile(path("p.xml"), "<Settings><type>other</type><entry name='shared'>new</entry>"
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

    QTest::newRow("empty element, other elements ignored")
        << QByteArray("<S><entry name='a'/><foo name='x'>1</foo><entry name='b'>2</entry></S>")
        << NameValues{{"a", ""}, {"b", "2"}};
    QTest::newRow("encrypted only when exactly 1")
        << QByteArray("<S><entry name='a' encrypted='true'>86888a</entry>"
                      "<entry name='b' encrypted='1'>86888a</entry></S>")
        << NameValues{{"a", "86888a"}, {"b", "abc"}};
    QTest::newRow("an inner element ends the entry")
        << QByteArray("<S><entry name='a'>x<b/>y</entry><entry name='c'>z</entry></S>")
        << NameValues{{"a", "x"}, {"c", "z"}};
    QTest::newRow("comments and CDATA do not split the value")
        << QByteArray("<S><entry name='a'>x<!--c-->y<![CDATA[<z>]]>&#x20AC;</entry></S>")
        << NameValues{{"a", QString::fromUtf8("xy<z>\u20ac")}};
    QTest::newRow("declared encoding, double quotes")
        << QByteArray("<?xml version='1.0' encoding='ISO-8859-1'?>\n<S>\n  <entry units=\"d\" "
                      "name=\"a\">\xe9</entry>\n</S>\n")
        << NameValues{{"a", QString::fromUtf8("\u00e9")}};
}

void TestXmlPreferences::readsWhatTheFormatAllows()
{
    QFETCH(QByteArray, document);
    QFETCH(NameValues, entries);

    writeFile(path("p.xml"), document);
    XmlPreferences store(QStringLiteral("t"));
    QVERIFY(store.load(path("p.xml"), false));
    QCOMPARE(store.entryMap(), entries);
}

void TestXmlPreferences::badFilesFail_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<NameValues>("readBeforeTheError");

    const NameValues none;
    const NameValues a{{"a", "1"}};
    QTest::newRow("missing") << QByteArray() << none;
    QTest::newRow("empty") << QByteArray("") << none;
    QTest::newRow("binary garbage") << QByteArray("\x00\xff\xfe\x01<\x80\x81>", 8) << none;
    QTest::newRow("truncated") << QByteArray("<S><entry name='a'>1</entry><entry name='b'>2") << a;
    QTest::newRow("undeclared entity")
        << QByteArray("<S><entry name='a'>1</entry><entry name='b'>&x;</entry></S>") << a;
    QByteArray laughs = "<!DOCTYPE S [<!ENTITY l0 'llllllllll'>";
    for (int i = 1; i < 10; ++i) {
        laughs += "<!ENTITY l" + QByteArray::number(i) + " '" +
                  ("&l" + QByteArray::number(i - 1) + ";").repeated(10) + "'>";
    }
    QTest::newRow("billion laughs") << laughs + "]><S><entry name='a'>&l9;</entry></S>" << none;
    // One small entity referenced many times expands far beyond the file's size.
    QTest::newRow("quadratic blow-up")
        << ("<!DOCTYPE S [<!ENTITY e '" + QByteArray(4000, 'x') + "'>]><S><entry name='a'>" +
            QByteArray("&e;").repeated(100000) + "</entry></S>")
        << none;
    QTest::newRow("parameter entities")
        << ("<!DOCTYPE S [<!ENTITY % p '<!ENTITY e \"" + QByteArray(4000, 'x') + "\">'>" +
            QByteArray("%p;").repeated(10000) + "]><S/>")
        << none;
    QTest::newRow("external entity") << QByteArray("<!DOCTYPE S [<!ENTITY e SYSTEM "
                                                   "'file:///etc/passwd'>]><S>&e;</S>")
                                     << none;
    QTest::newRow("deep nesting") << ("<S><entry name='a'>1</entry>" +
                                      QByteArray("<d>").repeated(100000) +
                                      QByteArray("</d>").repeated(100000) + "</S>")
                                  << a;
    QTest::newRow("larger than any preferences file")
        << ("<S><entry name='a'>" + QByteArray(XmlPreferences::MaximumFileSize, 'x') +
            "</entry></S>")
        << none;
}

void TestXmlPreferences::badFilesFail()
{
    QFETCH(QByteArray, document);
    QFETCH(NameValues, readBeforeTheError);

    if (!document.isNull())
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

void TestXmlPreferences::locationsAndSampleSettings()
{
    XmlPreferences store(QStringLiteral("Sample Settings"));
    QVERIFY(store.load(QUrl::fromLocalFile(path("kiosk.prefs.xml")).toString(), true));
    QCOMPARE(store.filePath(), path("kiosk.prefs.xml"));
    QCOMPARE(store.storeType(), QStringLiteral("kiosk.prefs"));

    XmlPreferences other(QStringLiteral("sample settings"));
    QVERIFY(other.load(path("plain #1 %20"), true));
    QCOMPARE(other.filePath(), path("plain #1 %20"));
    QCOMPARE(other.storeType(), QStringLiteral("sample settings"));
}

void TestXmlPreferences::readsNumbersInUnits_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("units");
    QTest::addColumn<QString>("requested");
    QTest::addColumn<int>("result");

    QTest::newRow("1.5 rounds away from zero") << "90"
                                               << "Seconds"
                                               << "MINUTES" << 2;
    QTest::newRow("below one half") << "89"
                                    << "seconds"
                                    << "minutes" << 1;
    QTest::newRow("negative") << "-90"
                              << "seconds"
                              << "minutes" << -2;
    QTest::newRow("milliseconds") << "1500"
                                  << "milliseconds"
                                  << "seconds" << 2;
    QTest::newRow("days to hours") << "1"
                                   << "days"
                                   << "hours" << 24;
    QTest::newRow("clamped") << "100000"
                             << "days"
                             << "milliseconds" << INT_MAX;
    QTest::newRow("no stored units") << "90"
                                     << ""
                                     << "minutes" << 90;
    QTest::newRow("unknown units") << "90"
                                   << "fortnights"
                                   << "minutes" << 90;
    QTest::newRow("no requested units") << "90"
                                        << "seconds"
                                        << "" << 90;
    QTest::newRow("no number") << "12abc"
                               << "hours"
                               << "seconds" << 0;
}

void TestXmlPreferences::readsNumbersInUnits()
{
    QFETCH(QString, value);
    QFETCH(QString, units);
    QFETCH(QString, requested);
    QFETCH(int, result);

    XmlPreferences store;
    store.setEntry({"Timeout", value, units, false});
    QCOMPARE(store.getIntInUnits(QStringLiteral("TIMEOUT"), 7, requested), result);
    QCOMPARE(store.getIntInUnits(QStringLiteral("absent"), 7, requested), 7);
    QCOMPARE(store.getInt(QStringLiteral("timeout"), 7), value.toInt());
    QCOMPARE(store.getUnits(QStringLiteral("timeout")), units.isEmpty() ? "unknown" : units);
}

void TestXmlPreferences::conversionFailuresAreNamed()
{
    QCOMPARE(errorText([] { XmlPreferences::convertUnits(1, "Seconds", "weeks"); }),
             QStringLiteral("Conversion Failure: Could not convert from Seconds to weeks"));
    QCOMPARE(errorText([] { XmlPreferences::convertUnits(1, "", "seconds"); }),
             QStringLiteral("Conversion Failure: Could not convert from  to seconds"));
    QCOMPARE(errorText([] { XmlPreferences::conversionFactor("weeks"); }),
             QStringLiteral("Conversion Failure: Unable to get conversion factor from weeks to "
                            "seconds"));
    QCOMPARE(errorText([] { XmlPreferences().getAll(); }),
             QStringLiteral("XmlPreferences::getAll() not implemented"));
}

void TestXmlPreferences::renameEntry_data()
{
    QTest::addColumn<Entries>("before");
    QTest::addColumn<QString>("newKey");
    QTest::addColumn<bool>("addIfMissing");
    QTest::addColumn<Entries>("after");

    QTest::newRow("moves value, units and scrambling under the upper-cased name")
        << Entries{{"Old", "5", "seconds", true}, {"New", "2", "", false}} << "New Key" << false
        << Entries{{"NEW KEY", "5", "seconds", true}, {"New", "2", "", false}};
    QTest::newRow("same key in another case keeps the entry")
        << Entries{{"Old", "1", "days", false}} << "old" << false
        << Entries{{"OLD", "1", "days", false}};
    QTest::newRow("empty value adds the default")
        << Entries{{"Old", "", "", false}} << "New" << true
        << Entries{{"Old", "", "", false}, {"New", "7", "minutes", false}};
    QTest::newRow("missing key without the flag") << Entries{} << "New" << false << Entries{};
}

void TestXmlPreferences::renameEntry()
{
    QFETCH(Entries, before);
    QFETCH(QString, newKey);
    QFETCH(bool, addIfMissing);
    QFETCH(Entries, after);

    XmlPreferences store(QStringLiteral("t"));
    fill(store, before);
    store.renameEntry(QStringLiteral("OLD"), newKey, addIfMissing, QStringLiteral("7"),
                      QStringLiteral("minutes"));
    XmlPreferences expected(QStringLiteral("t"));
    fill(expected, after);
    QCOMPARE(store.toXml(QStringLiteral("\n")), expected.toXml(QStringLiteral("\n")));
}

void TestXmlPreferences::keysIgnoreCaseStoredNamesDoNot()
{
    XmlPreferences store(QStringLiteral("t"));
    store.setInt(QStringLiteral("Logging: Enabled"), 1);
    store.setEncryptedString(QStringLiteral("logging: enabled"), QStringLiteral("0"), true);
    QCOMPARE(store.entryCount(), 1);
    QCOMPARE(store.getString(QStringLiteral("LOGGING: ENABLED"), QString()), QStringLiteral("0"));
    QVERIFY(store.hasEntry(QStringLiteral("logging: enabled")));
    QVERIFY(!store.hasEntry(QStringLiteral("Logging: Enabled")));
    store.remove(QStringLiteral("LOGGING: enabled"));
    QCOMPARE(store.entryCount(), 0);
}

void TestXmlPreferences::copiesTakeNoFilePath()
{
    XmlPreferences original(QStringLiteral("orig"));
    original.setEntry({"Pin", "abc", "days", true});
    QVERIFY(original.load(path("orig.xml"), true));
    XmlPreferences copy(original);
    QCOMPARE(copy.toXml(QStringLiteral("\n")), original.toXml(QStringLiteral("\n")));
    QVERIFY(!copy.save());

    XmlPreferences assigned(QStringLiteral("other"));
    QVERIFY(assigned.load(path("assigned.xml"), true));
    assigned = original;
    QCOMPARE(assigned.storeType(), QStringLiteral("orig"));
    QCOMPARE(assigned.filePath(), path("assigned.xml"));
}

void TestXmlPreferences::setAllLoadsThenStores()
{
    writeFile(path("p.xml"),
              "<S><entry name='a'>1</entry><entry name='b' units='days'>2</entry></S>");
    XmlPreferences store(QStringLiteral("t"));
    QVERIFY(store.setAll({{"B", 20}, {"c", true}}, path("p.xml")));
    QCOMPARE(store.entryMap(), (NameValues{{"a", "1"}, {"B", "20"}, {"c", "true"}}));
    QCOMPARE(store.getUnits(QStringLiteral("b")), QStringLiteral("unknown"));
    QVERIFY(store.setAll({{"d", 1.5}}, path("missing.xml")));
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
}

QTEST_GUILESS_MAIN(TestXmlPreferences)
#include "tst_xmlpreferences.moc"
