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
        // The edges of the digits, the capitals (key codes are never lower case), space and
        // no-break space, the Latin-1 letters 192-255 and the special keys 4096-4134.
        const QList<QPair<int, bool>> plain{
            {0, false},   {32, true},   {45, false},  {48, true},  {57, true},   {58, false},
            {64, false},  {65, true},   {90, true},   {91, false}, {97, false},  {160, true},
            {161, false}, {191, false}, {192, true},  {255, true}, {256, false}, {4095, false},
            {4096, true}, {4134, true}, {4144, false}};
        for (const auto &[code, accepted] : plain)
            QTest::addRow("%d", code) << QString() << code << accepted;
        QTest::newRow("hyphen exception") << QString("-_") << 45 << true;
        QTest::newRow("underscore exception") << QString("-_") << 95 << true;
        QTest::newRow("full stop not excepted") << QString("-_") << 46 << false;
        QTest::newRow("exception in the Latin-1 range") << QString("\u00a7") << 0xa7 << true;
        QTest::newRow("exception above Latin-1") << QString("\u20ac") << 0x20ac << false;
    }
    void keyTable()
    {
        QFETCH(QString, exceptions);
        QFETCH(int, code);
        QTEST(AlphanumericKeyboardInputFilter(exceptions).accepts(quint16(code)), "accepted");
    }

    // Qt's special keys (0x01000000 + n) become 4096 + n; what does not fit 16 bits is 0xFFFF.
    void qtKeysMapToFilterCodes()
    {
        const QList<QPair<int, int>> keys{{Qt::Key_A, 65},
                                          {Qt::Key_Eacute, 0xc9},
                                          {Qt::Key_Escape, 4096},
                                          {Qt::Key_Left, 4114},
                                          {Qt::Key_ScrollLock, 4134},
                                          {Qt::Key_F1, 0x1030},
                                          {Qt::Key_MediaPlay, 0x1080},
                                          {Qt::Key_Camera, 0xFFFF},
                                          {0x1F600, 0xFFFF},
                                          {-1, 0xFFFF}};
        for (const auto &[key, code] : keys)
            QCOMPARE(int(KeyboardInputFilter::filterKeyCode(key)), code);
    }
};

QTEST_GUILESS_MAIN(TestKeyboardFilter)
#include "tst_keyboardfilter.moc"
