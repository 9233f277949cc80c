#include "settings/HexCodec.h"
#include "settings/LegacyHexCodec.h"

#include <QtTest>

using UtilsLib::LegacyHexCodec;
using UtilsLib::TextCodec;

namespace {

enum Codec { Hex, Legacy };
enum Direction { BothWays, DecodeOnly, EncodeOnly };

void row(const char *name, Codec codec, const QString &plain, const QString &encoded,
         Direction direction = BothWays)
{
    QTest::newRow(name) << (codec == Legacy) << plain << encoded << int(direction);
}

} // namespace

class TestCodecs : public QObject
{
    Q_OBJECT

private slots:
    void codes_data()
    {
        QTest::addColumn<bool>("legacy");
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QString>("encoded");
        QTest::addColumn<int>("direction"); // DecodeOnly: input no encoder writes

        row("abc", Hex, "abc", "86888a");
        row("euro sign, three bytes", Hex, QString::fromUtf8("\u20ac"), "89c91d");
        row("outside the BMP", Hex, QString::fromUtf8("\U0001F600"), "a503f5c5");
        row("upper-case digits", Hex, "abc", "86888A", DecodeOnly);
        row("odd length ignores the last character", Hex, "abc", "86888a7", DecodeOnly);
        // A pair read as 0 gives (0 + 0x3C) rotated right: 0x1E.
        row("no hexadecimal number", Hex, QString::fromUtf8("a\x1e"), "86g8", DecodeOnly);
        row("half a number", Hex, QString::fromUtf8("\x1e"), "8g", DecodeOnly);
        // Found by fuzzing: reading the bytes as UTF-8 dropped a leading byte-order mark.
        row("byte-order mark first", Hex, QStringLiteral("\ufeffpin"), "a33b43a496a0");
        // The bytes E2 AC begin a three-byte sequence that never ends.
        row("cut sequence", Hex, QStringLiteral("\ufffd\ufffd"), "891d", DecodeOnly);

        row("backslash is the pipe escape", Legacy, "\\", "#^#"); // 2 * 92 - 60 = 124
        row("tilde", Legacy, "~", QString(QChar(0xC0)));          // 2 * 126 - 60 = 192
        row("code 30 encodes to U+0000", Legacy, QStringLiteral("a\u001eb"),
            QString::fromLatin1("\x86\0\x88", 3));
        // Characters 30 to 127 are one byte in UTF-8 and survive; 128 and above are two bytes,
        // the first beyond what the doubling keeps (U+0096 comes back as "B\ufffd").
        row("last character that survives", Legacy, "\x7f", QString(QChar(0xC2)));
        row("two-byte character is garbled", Legacy, QStringLiteral("\u0096"),
            QString::fromLatin1("H\xf0"), EncodeOnly);
        row("and does not come back", Legacy, QStringLiteral("B\ufffd"),
            QString::fromLatin1("H\xf0"), DecodeOnly);
        row("between backslashes", Legacy, "a\\b", QString::fromLatin1("\x86#^#\x88"));
        row("1024 characters", Legacy, QString(1024, u'A'), QString(1024, u'F'));
        // Found by fuzzing: the limit was applied to the escaped text, so a text with backslashes
        // encoded to something decode refused.
        row("1024 backslashes", Legacy, QString(1024, u'\\'), QString("#^#").repeated(1024));
        row("bare pipe", Legacy, "\\", "|", DecodeOnly);
        // "#^##^#^#" is "||^#"; "^" (94) and "#" (35) then decode to "M" and "/".
        row("scanning continues after a replacement", Legacy, "\\\\M/", "#^##^#^#", DecodeOnly);
        row("odd code drops the remainder", Legacy, "A", "G", DecodeOnly); // (71 + 60) / 2 = 65
        row("outside Latin-1 reads as code 0", Legacy, QString(QChar(30)), QString(QChar(0x20AC)),
            DecodeOnly);
    }

    void codes()
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
};

QTEST_GUILESS_MAIN(TestCodecs)
#include "tst_codecs.moc"
