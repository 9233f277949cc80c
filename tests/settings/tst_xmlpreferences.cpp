#include "settings/HexCodec.h"
#include "settings/LegacyHexCodec.h"
#include "settings/XmlPreferences.h"

#include "FileBytes.h"
#include "FileSizeLimit.h"

#include <QtTest>

#include <climits>
#include <stdexcept>

using UtilsLib::LegacyHexCodec;
using UtilsLib::PreferenceEntry;
using UtilsLib::TextCodec;
using UtilsLib::XmlPreferences;

using Entries = QList<PreferenceEntry>;
using NameValues = QMap<QString, QString>;

namespace {

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

class TestXmlPreferences : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
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

    void locationsAndSampleSettings()
    {
        XmlPreferences store("Sample Settings");
        QVERIFY(store.load(QUrl::fromLocalFile(path("kiosk.prefs.xml")).toString(), true));
        QCOMPARE(store.filePath(), path("kiosk.prefs.xml"));
        QCOMPARE(store.storeType(), "kiosk.prefs");

        XmlPreferences other("sample settings");
        QVERIFY(other.load(path("plain #1 %20"), true));
        QCOMPARE(other.filePath(), path("plain #1 %20"));
        QCOMPARE(other.storeType(), "sample settings");
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

    void copiesTakeNoFilePath()
    {
        XmlPreferences original("orig");
        original.setEntry({"Pin", "abc", "days", true});
        QVERIFY(original.load(path("orig.xml"), true));
        XmlPreferences copy(original);
        QCOMPARE(copy.toXml("\n"), original.toXml("\n"));
        QVERIFY(!copy.save());

        XmlPreferences assigned("other");
        QVERIFY(assigned.load(path("assigned.xml"), true));
        assigned = original;
        QCOMPARE(assigned.toXml("\n"), original.toXml("\n"));
        QCOMPARE(assigned.filePath(), path("assigned.xml"));
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
        codecRow("odd code drops the remainder", Legacy, "A", "G",
                 DecodeOnly); // (71 + 60) / 2 = 65
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

    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TestXmlPreferences)
#include "tst_xmlpreferences.moc"
