#include "settings/HexCodec.h"
#include "settings/LegacyHexCodec.h"

#include <QtTest>

using UtilsLib::HexCodec;
using UtilsLib::LegacyHexCodec;

class TestCodecs : public QObject
{
    Q_OBJECT

private slots:
    void hexEncodes_data();
    void hexEncodes();
    void hexDecodes_data();
    void hexDecodes();
    void hexRoundTrips_data();
    void hexRoundTrips();
    void legacyEncodes_data();
    void legacyEncodes();
    void legacyDecodes_data();
    void legacyDecodes();
    void legacyRoundTripsPrintableAscii();
    void legacyRefusesLongTexts();
};

void TestCodecs::hexEncodes_data()
{
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("encoded");

    QTest::newRow("abc") << "abc"
                         << "86888a";
    QTest::newRow("euro sign, three bytes") << QString::fromUtf8("\u20ac") << "89c91d";
    QTest::newRow("default staff password") << "pelbrostagin"
                                            << "a48e9c88a8a2aaac869296a0";
    QTest::newRow("diaeresis") << QString::fromUtf8("Zo\u00eb") << "78a24b1b";
    QTest::newRow("outside the BMP") << QString::fromUtf8("\U0001F600") << "a503f5c5";
    QTest::newRow("empty") << ""
                           << "";
}

void TestCodecs::hexEncodes()
{
    QFETCH(QString, plain);
    QFETCH(QString, encoded);
    QCOMPARE(UtilsLib::hexEncode(plain), encoded);
    QCOMPARE(HexCodec().encode(plain), encoded);
}

void TestCodecs::hexDecodes_data()
{
    QTest::addColumn<QString>("encoded");
    QTest::addColumn<QString>("plain");

    QTest::newRow("abc") << "86888a"
                         << "abc";
    QTest::newRow("upper-case digits") << "86888A"
                                       << "abc";
    QTest::newRow("odd length ignores the last character") << "86888a7"
                                                           << "abc";
    QTest::newRow("single character") << "8"
                                      << "";
    // 0 + 0x3C = 0x3C, rotated right: 0x1E.
    QTest::newRow("pair that is no number reads as 0") << "86zz8a"
                                                       << QString::fromUtf8("a\x1e"
                                                                            "c");
    QTest::newRow("half a number is no number") << "8g" << QString::fromUtf8("\x1e");
    QTest::newRow("euro sign") << "89c91d" << QString::fromUtf8("\u20ac");
    QTest::newRow("empty") << ""
                           << "";
}

void TestCodecs::hexDecodes()
{
    QFETCH(QString, encoded);
    QFETCH(QString, plain);
    QCOMPARE(UtilsLib::hexDecode(encoded), plain);
    QCOMPARE(HexCodec().decode(encoded), plain);
}

void TestCodecs::hexRoundTrips_data()
{
    QTest::addColumn<QString>("plain");

    QTest::newRow("ascii punctuation") << "p@ss|w:rd\\\"'<&>";
    QTest::newRow("mixed scripts") << QString::fromUtf8("\u65e5\u672c Gr\u00fc\u00dfe \u20ac5");
    QTest::newRow("control characters") << QString::fromUtf8("tab\there\r\nnul\x01");
    QTest::newRow("every byte value's lead") << QString::fromUtf8("\x7f\u0080\u07ff\u0800\uffff");
}

void TestCodecs::hexRoundTrips()
{
    QFETCH(QString, plain);
    const QString encoded = UtilsLib::hexEncode(plain);
    QCOMPARE(encoded.size(), plain.toUtf8().size() * 2);
    QCOMPARE(UtilsLib::hexDecode(encoded), plain);
}

void TestCodecs::legacyEncodes_data()
{
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("encoded");

    QTest::newRow("backslash becomes the pipe escape") << "\\"
                                                       << "#^#";
    QTest::newRow("A") << "A"
                       << "F"; // 2 * 65 - 60 = 70
    QTest::newRow("space") << " "
                           << "\x04";                      // 2 * 32 - 60 = 4
    QTest::newRow("tilde") << "~" << QString(QChar(0xC0)); // 2 * 126 - 60 = 192
    QTest::newRow("between backslashes") << "a\\b" << QString::fromLatin1("\x86#^#\x88");
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("1024 characters")
        << QString(1024, QLatin1Char('A')) << QString(1024, QLatin1Char('F'));
}

void TestCodecs::legacyEncodes()
{
    QFETCH(QString, plain);
    QFETCH(QString, encoded);
    QCOMPARE(LegacyHexCodec().encode(plain), encoded);
}

void TestCodecs::legacyDecodes_data()
{
    QTest::addColumn<QString>("encoded");
    QTest::addColumn<QString>("plain");

    QTest::newRow("pipe escape") << "#^#"
                                 << "\\";
    QTest::newRow("bare pipe is a backslash too") << "|"
                                                  << "\\";
    // "#^##^#^#" is "||^#"; "^" (94) and "#" (35) then decode to "M" and "/".
    QTest::newRow("scanning continues after the replacement") << "#^##^#^#"
                                                              << "\\\\M/";
    QTest::newRow("odd code drops the remainder") << "G"
                                                  << "A"; // (71 + 60) / 2 = 65
    QTest::newRow("outside Latin-1 reads as code 0")
        << QString(QChar(0x20AC)) << QString(QChar(30));
}

void TestCodecs::legacyDecodes()
{
    QFETCH(QString, encoded);
    QFETCH(QString, plain);
    QCOMPARE(LegacyHexCodec().decode(encoded), plain);
}

void TestCodecs::legacyRoundTripsPrintableAscii()
{
    QString plain;
    for (char16_t c = 31; c < 128; ++c)
        plain += QChar(c);
    const LegacyHexCodec codec;
    QCOMPARE(codec.decode(codec.encode(plain)), plain);
}

void TestCodecs::legacyRefusesLongTexts()
{
    const LegacyHexCodec codec;
    const QString text(1025, QLatin1Char('A'));
    QVERIFY(codec.encode(text).isNull());
    QVERIFY(codec.decode(text).isNull());
    QVERIFY(!codec.decode(QString(1024, QLatin1Char('F'))).isNull());
}

QTEST_GUILESS_MAIN(TestCodecs)
#include "tst_codecs.moc"
