#include "ui/AlphanumericKeyboardInputFilter.h"

#include <QtTest>

class TestKeyboardFilter : public QObject
{
    Q_OBJECT

private slots:
    void keyTable_data()
    {
        QTest::addColumn<QString>("exceptions");
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("accepted");

        const QString hyphenUnderscore = "-_";
        QTest::newRow("digit 0") << QString() << 48 << true;
        QTest::newRow("digit 9") << QString() << 57 << true;
        QTest::newRow("colon after the digits") << QString() << 58 << false;
        QTest::newRow("at sign before A") << QString() << 64 << false;
        QTest::newRow("A") << QString() << 65 << true;
        QTest::newRow("Z") << QString() << 90 << true;
        QTest::newRow("bracket after Z") << QString() << 91 << false;
        QTest::newRow("lower-case a is never a key code") << QString() << 97 << false;
        QTest::newRow("space") << QString() << 32 << true;
        QTest::newRow("no-break space") << QString() << 160 << true;
        QTest::newRow("inverted exclamation 161") << QString() << 161 << false;
        QTest::newRow("191 before the accented letters") << QString() << 191 << false;
        QTest::newRow("A grave 192") << QString() << 192 << true;
        QTest::newRow("y diaeresis 255") << QString() << 255 << true;
        QTest::newRow("Escape 4096") << QString() << 4096 << true;
        QTest::newRow("Scroll Lock 4134") << QString() << 4134 << true;
        QTest::newRow("4095 before the special keys") << QString() << 4095 << false;
        QTest::newRow("F1 4144 after them") << QString() << 4144 << false;
        QTest::newRow("256 above Latin-1") << QString() << 256 << false;
        QTest::newRow("euro sign 8364") << "\u20ac" << 0x20ac << false;
        QTest::newRow("hyphen without exception") << QString() << 45 << false;
        QTest::newRow("hyphen exception") << hyphenUnderscore << 45 << true;
        QTest::newRow("underscore exception") << hyphenUnderscore << 95 << true;
        QTest::newRow("full stop not excepted") << hyphenUnderscore << 46 << false;
        QTest::newRow("exception in the Latin-1 range") << "\u00a7" << 0xa7 << true;
        QTest::newRow("NUL") << hyphenUnderscore << 0 << false;
    }
    void keyTable()
    {
        QFETCH(QString, exceptions);
        QFETCH(int, code);
        const AlphanumericKeyboardInputFilter filter(exceptions);
        QTEST(filter.accepts(static_cast<quint16>(code)), "accepted");
    }
    void qtKeysMapToFilterCodes_data()
    {
        QTest::addColumn<int>("qtKey");
        QTest::addColumn<int>("code");

        QTest::newRow("A") << int(Qt::Key_A) << 65;
        QTest::newRow("E acute") << int(Qt::Key_Eacute) << 0xc9;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << 4096;
        QTest::newRow("Left") << int(Qt::Key_Left) << 4114;
        QTest::newRow("Scroll Lock") << int(Qt::Key_ScrollLock) << 4134;
        QTest::newRow("F1") << int(Qt::Key_F1) << 0x1030;
        QTest::newRow("media key") << int(Qt::Key_MediaPlay) << 0x1080;
        QTest::newRow("beyond 16 bits") << int(Qt::Key_Camera) << 0xFFFF;
        QTest::newRow("character beyond the BMP") << 0x1F600 << 0xFFFF;
        QTest::newRow("negative") << -1 << 0xFFFF;
    }
    void qtKeysMapToFilterCodes()
    {
        QFETCH(int, qtKey);
        QFETCH(int, code);
        QCOMPARE(int(KeyboardInputFilter::filterKeyCode(qtKey)), code);
    }
};

QTEST_GUILESS_MAIN(TestKeyboardFilter)
#include "tst_keyboardfilter.moc"
