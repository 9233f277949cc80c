#include "protocol/FieldList.h"

#include <QtTest>

using namespace Brindlecore::Core;

class TestFieldList : public QObject
{
    Q_OBJECT

private slots:
    void encodes_data();
    void encodes();
    void decodingInvertsEncoding_data();
    void decodingInvertsEncoding();
    void badEscapesThrow_data();
    void badEscapesThrow();
};

void TestFieldList::encodes_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("text");

    QTest::newRow("colon and backslash") << QStringList{"a:b", "c\\d"} << "a\\:b:c\\\\d";
    QTest::newRow("registration") << QStringList{"register", "jsmith", "LAB-PC-07"}
                                  << "register:jsmith:LAB-PC-07";
    QTest::newRow("domain user") << QStringList{"register", "DOM:x", "PC"} << "register:DOM\\:x:PC";
    QTest::newRow("backslash before colon") << QStringList{"\\:"} << "\\\\\\:";
    QTest::newRow("empty names") << QStringList{"register", "", ""} << "register::";
    QTest::newRow("empty list") << QStringList{} << "";
}

void TestFieldList::encodes()
{
    QFETCH(QStringList, fields);
    QFETCH(QString, text);
    QCOMPARE(encodeFieldList(fields), text);
}

void TestFieldList::decodingInvertsEncoding_data()
{
    QTest::addColumn<QStringList>("fields");

    QTest::newRow("escapes") << QStringList{"a:b", "c\\d"};
    QTest::newRow("trailing backslash in element") << QStringList{"x\\", "y"};
    QTest::newRow("empty elements") << QStringList{"", "a", "", ""};
    QTest::newRow("non-ascii") << QStringList{"Zoë", "€:\\"};
    QTest::newRow("single") << QStringList{"only"};
    QTest::newRow("empty list") << QStringList{};
}

void TestFieldList::decodingInvertsEncoding()
{
    QFETCH(QStringList, fields);
    QCOMPARE(decodeFieldList(encodeFieldList(fields)), fields);
}

void TestFieldList::badEscapesThrow_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("backslash x") << "a\\xb";
    QTest::newRow("ends in a backslash") << "a:b\\";
    QTest::newRow("only a backslash") << "\\";
    QTest::newRow("escaped pipe") << "a\\|b";
}

void TestFieldList::badEscapesThrow()
{
    QFETCH(QString, text);
    QVERIFY_THROWS_EXCEPTION(MessageFormatException, decodeFieldList(text));
}

QTEST_GUILESS_MAIN(TestFieldList)
#include "tst_fieldlist.moc"
