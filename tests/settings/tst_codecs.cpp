#include "settings/HexCodec.h"
#include "settings/LegacyHexCodec.h"

#include <QtTest>

using UtilsLib::HexCodec;
using UtilsLib::LegacyHexCodec;

class TestCodecs : public QObject
{
    Q_OBJECT

private slots:
    void hexCodesBothWays_data();
    void hexCodesBothWays();
    void hexDecodesSloppyInput_data();
    void hexDecodesSloppyInput();
    void legacyCodesBothWays_data();
    void legacyCodesBothWays();
    void legacyDecodes_data();
    void legacyDecodes();
    void legacyRefusesLongTexts();
};

void TestCodecs::hexCodesBothWays_data()
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

void TestCodecs::hexCodesBothWays()
{
    QFETCH(QString, plain);
    QFETCH(QString, encoded);
    QCOMPARE(UtilsLib::hexEncode(plain), encoded);
    QCOMPARE(UtilsLib::hexDecode(encoded), plain);
    QCOMPARE(HexCodec().encode(plain), encoded);
    QCOMPARE(HexCodec().decode(encoded), plain);
}

void TestCodecs::hexDecodesSloppyInput_data()
{
    QTest::addColumn<QString>("encoded");
    QTest::addColumn<QString>("plain");

    QTest::newRow("upper-case digits") << "86888A"
                                       << "abc";
    QTest::newRow("odd length ignores the last character") << "86888a7"
                                                           << "abc";
    QTest::newRow("single character") << "8"
                                      << "";
    // A pair read as 0 gives (0 + 0x3C) rotated right: 0x1E.
    QTest::newRow("no hexadecimal number") << "86zz" << QString::fromUtf8("a\x1e");
    QTest::newRow("half a number") << "8g" << QString::fromUtf8("\x1e");
}

void TestCodecs::hexDecodesSloppyInput()
{
    QFETCH(QString, encoded);
    QFETCH(QString, plain);
    QCOMPARE(UtilsLib::hexDecode(encoded), plain);
}

void TestCodecs::legacyCodesBothWays_data()
{
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("encoded");

    QTest::newRow("backslash is the pipe escape") << "\\"
                                                  << "#^#"; // 2 * 92 - 60 = 124
    QTest::newRow("A") << "A"
                       << "F";                             // 2 * 65 - 60 = 70
    QTest::newRow("tilde") << "~" << QString(QChar(0xC0)); // 2 * 126 - 60 = 192
    QTest::newRow("between backslashes") << "a\\b" << QString::fromLatin1("\x86#^#\x88");
    QTest::newRow("1024 characters")
        << QString(1024, QLatin1Char('A')) << QString(1024, QLatin1Char('F'));
    QString printable;
    for (char16_t c = 31; c < 128; ++c)
        printable += QChar(c);
    QTest::newRow("codes 31 to 127") << printable << LegacyHexCodec().encode(printable);
}

void TestCodecs::legacyCodesBothWays()
{
    QFETCH(QString, plain);
    QFETCH(QString, encoded);
    QCOMPARE(LegacyHexCodec().encode(plain), encoded);
    QCOMPARE(LegacyHexCodec().decode(encoded), plain);
}

void TestCodecs::legacyDecodes_data()
{
    QTest::addColumn<QString>("encoded");
    QTest::addColumn<QString>("plain");

    QTest::newRow("bare pipe") << "|"
                               << "\\";
    // "#^##^#^#" is "||^#"; "^" (94) and "#" (35) then decode to "M" and "/".
    QTest::newRow("scanning continues after a replacement") << "#^##^#^#"
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

void TestCodecs::legacyRefusesLongTexts()
{
    const QString text(1025, QLatin1Char('A'));
    QVERIFY(LegacyHexCodec().encode(text).isNull());
    QVERIFY(LegacyHexCodec().decode(text).isNull());
}

QTEST_GUILESS_MAIN(TestCodecs)
#include "tst_codecs.moc"
