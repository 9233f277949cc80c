#include "protocol/NulTextBuffer.h"

#include <QtTest>

class TestNulTextBuffer : public QObject
{
    Q_OBJECT

private slots:
    void texts_data();
    void texts();
    void limit_data();
    void limit();
    void unterminatedBytesAreOneText();
    void encodeAddsOneNul();
};

void TestNulTextBuffer::texts_data()
{
    QTest::addColumn<QList<QByteArray>>("chunks");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QByteArray>("left");

    QTest::newRow("one text") << QList<QByteArray>{QByteArray("abc\0", 4)} << QStringList{"abc"}
                              << QByteArray();
    QTest::newRow("split everywhere")
        << QList<QByteArray>{"a", "b", QByteArray("\0", 1)} << QStringList{"ab"} << QByteArray();
    QTest::newRow("several in one chunk") << QList<QByteArray>{QByteArray("a\0\0b\0c", 6)}
                                          << QStringList{"a", "", "b"} << QByteArray("c");
    QTest::newRow("invalid utf-8")
        << QList<QByteArray>{QByteArray("\xc3(\0", 3)}
        << QStringList{QString(QChar::ReplacementCharacter) + "("} << QByteArray();
    QTest::newRow("character across chunks")
        << QList<QByteArray>{"\xe2\x82", QByteArray("\xac\0", 2)}
        << QStringList{QString(QChar(0x20ac))} << QByteArray();
}

void TestNulTextBuffer::texts()
{
    QFETCH(QList<QByteArray>, chunks);
    QFETCH(QStringList, texts);
    QFETCH(QByteArray, left);

    NulTextBuffer buffer;
    QStringList taken;
    for (const QByteArray &chunk : chunks) {
        buffer.append(chunk);
        QString text;
        while (buffer.takeText(text) == NulTextBuffer::Result::Text)
            taken.append(text);
    }
    QCOMPARE(taken, texts);
    QCOMPARE(buffer.hasUnterminatedBytes(), !left.isEmpty());
    QCOMPARE(buffer.takeUnterminated(), QString::fromUtf8(left));
    QVERIFY(!buffer.hasUnterminatedBytes());
}

void TestNulTextBuffer::limit_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("result");

    const QByteArray full(8, 'x');
    QTest::newRow("at the limit, terminated") << full + '\0' << int(NulTextBuffer::Result::Text);
    QTest::newRow("at the limit, open") << full << int(NulTextBuffer::Result::Incomplete);
    QTest::newRow("over the limit, open") << full + 'x' << int(NulTextBuffer::Result::Overflow);
    QTest::newRow("over the limit, terminated")
        << full + "x" + '\0' << int(NulTextBuffer::Result::Overflow);
    QTest::newRow("short text, then an open one over the limit")
        << QByteArray("ok") + '\0' + full + 'x' << int(NulTextBuffer::Result::Text);
}

void TestNulTextBuffer::limit()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, result);

    NulTextBuffer buffer(8);
    buffer.append(bytes);
    QString text;
    QCOMPARE(int(buffer.takeText(text)), result);
    if (result == int(NulTextBuffer::Result::Text) && text == "ok")
        QCOMPARE(buffer.takeText(text), NulTextBuffer::Result::Overflow);
}

void TestNulTextBuffer::unterminatedBytesAreOneText()
{
    NulTextBuffer buffer;
    buffer.append(QByteArray("a\0legacy", 8));
    QString text;
    QCOMPARE(buffer.takeText(text), NulTextBuffer::Result::Text);
    QCOMPARE(buffer.takeText(text), NulTextBuffer::Result::Incomplete);
    QCOMPARE(buffer.takeUnterminated(), QString("legacy"));
    // The buffer starts afresh: the next text is not glued to the flushed bytes.
    buffer.append(QByteArray("next\0", 5));
    QCOMPARE(buffer.takeText(text), NulTextBuffer::Result::Text);
    QCOMPARE(text, QString("next"));
}

void TestNulTextBuffer::encodeAddsOneNul()
{
    QCOMPARE(NulTextBuffer::encode("abc"), QByteArray("abc\0", 4));
    QCOMPARE(NulTextBuffer::encode(""), QByteArray(1, '\0'));
    QCOMPARE(NulTextBuffer::decode(QByteArray("ab\0cd", 5)), QString("ab"));
}

QTEST_GUILESS_MAIN(TestNulTextBuffer)
#include "tst_nultextbuffer.moc"
