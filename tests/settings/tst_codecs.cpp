#include "settings/HexCodec.h"
#include "settings/LegacyHexCodec.h"

#include <QtTest>

using UtilsLib::LegacyHexCodec;
using UtilsLib::TextCodec;

namespace {

enum Codec { Hex, Legacy };
enum Direction { BothWays, DecodeOnly };

void row(const char *name, Codec codec, const QString &plain, const QString &encoded,
         Direction direction = BothWays)
{
    QTest::newRow(name) << (codec == Legacy) << plain << encoded << (direction == BothWays);
}

} // namespace

class TestCodecs : public QObject
{
    Q_OBJECT

private slots:
    void codes_data();
    void codes();
    void legacyRefusesLongTexts();
};

void TestCodecs::codes_data()
{
    QTest::addColumn<bool>("legacy");
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("encoded");
    QTest::addColumn<bool>("bothWays"); // false: input no encoder writes, decoded only

    row("abc", Hex, "abc", "86888a");
    row("euro sign, three bytes", Hex, QString::fromUtf8("\u20ac"), "89c91d");
    row("outside the BMP", Hex, QString::fromUtf8("\U0001F600"), "a503f5c5");
    row("upper-case digits", Hex, "abc", "86888A", DecodeOnly);
    row("odd length ignores the last character", Hex, "abc", "86888a7", DecodeOnly);
    // A pair read as 0 gives (0 + 0x3C) rotated right: 0x1E.
    row("no hexadecimal number", Hex, QString::fromUtf8("a\x1e"), "86g8", DecodeOnly);
    row("half a number", Hex, QString::fromUtf8("\x1e"), "8g", DecodeOnly);

    row("backslash is the pipe escape", Legacy, "\\", "#^#"); // 2 * 92 - 60 = 124
    row("tilde", Legacy, "~", QString(QChar(0xC0)));          // 2 * 126 - 60 = 192
    row("code 30 encodes to U+0000", Legacy, QStringLiteral("a\u001eb"),
        QString::fromLatin1("\x86\0\x88", 3));
    row("between backslashes", Legacy, "a\\b", QString::fromLatin1("\x86#^#\x88"));
    row("1024 characters", Legacy, QString(1024, u'A'), QString(1024, u'F'));
    row("bare pipe", Legacy, "\\", "|", DecodeOnly);
    // "#^##^#^#" is "||^#"; "^" (94) and "#" (35) then decode to "M" and "/".
    row("scanning continues after a replacement", Legacy, "\\\\M/", "#^##^#^#", DecodeOnly);
    row("odd code drops the remainder", Legacy, "A", "G", DecodeOnly); // (71 + 60) / 2 = 65
    row("outside Latin-1 reads as code 0", Legacy, QString(QChar(30)), QString(QChar(0x20AC)),
        DecodeOnly);
}

void TestCodecs::codes()
{
    QFETCH(bool, legacy);
    QFETCH(QString, plain);
    QFETCH(QString, encoded);
    QFETCH(bool, bothWays);

    const UtilsLib::HexCodec hex;
    const LegacyHexCodec legacyCodec;
    const TextCodec &codec = legacy ? static_cast<const TextCodec &>(legacyCodec) : hex;
    if (bothWays)
        QCOMPARE(codec.encode(plain), encoded);
    QCOMPARE(codec.decode(encoded), plain);
}

void TestCodecs::legacyRefusesLongTexts()
{
    const QString text(1025, u'A');
    QVERIFY(LegacyHexCodec().encode(text).isNull());
    QVERIFY(LegacyHexCodec().decode(text).isNull());
}

QTEST_GUILESS_MAIN(TestCodecs)
#include "tst_codecs.moc"
