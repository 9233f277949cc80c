#include "ClientHarness.h"
#include "FileBytes.h"
#include "LoopbackPrintService.h"
#include "ProcessProbe.h"
#include "SanitizerMemory.h"

#include <QtTest>

// This program's loopback address (the port is fixed; see CMakeLists.txt).
static const QString Address = QStringLiteral("127.0.0.33");

namespace {

// What the client answers to a stream without message ids: each text, the bytes up to a NUL
// (and the bytes after the last NUL once the peer pauses), decoded as UTF-8 with invalid
// sequences replaced, is echoed as not handled.
QByteArrayList repliesTo(const QByteArray &stream)
{
    QByteArrayList texts = stream.split('\0');
    if (texts.last().isEmpty())
        texts.removeLast();
    QByteArrayList replies;
    for (const QByteArray &text : texts)
        replies.append("Message Not Handled: " + QString::fromUtf8(text).toUtf8());
    return replies;
}

QByteArrayList textsOf(const QByteArray &received)
{
    QByteArrayList texts = received.split('\0');
    texts.removeLast(); // the bytes after the last NUL are no text yet
    return texts;
}

} // namespace

// A Print Service that sends what no Print Service should: the client stays up, answers every
// text it can, gives up a connection only when a text exceeds its limit (and then connects
// again), and its memory stays bounded.
class TestHostilePeer : public QObject
{
    Q_OBJECT

private slots:
    void hostileInput_data()
    {
        QTest::addColumn<QByteArray>("stream");
        // The text exceeds the client's limit: it drops the connection without an answer.
        QTest::addColumn<bool>("overLimit");

        // Without "|" each reply is known whatever handlers the client has.
        QTest::newRow("random bytes") << randomBytes(256 * 1024) << false;
        QTest::newRow("10 MiB without a NUL") << QByteArray(10 * 1024 * 1024, 'x') << true;
        QTest::newRow("NUL only") << QByteArray(20000, '\0') << false;
        // The literal's size, not its first NUL, ends the bytes.
        QTest::newRow("invalid UTF-8")
            << QByteArrayLiteral("\xff\0\xc0\xaf\0\xed\xa0\x80\0\xf4\x90\x80\x80\0\x80\x80\x80\0"
                                 "80|\xe2\x82\0ok\xc3")
            << false;
    }
    void hostileInput()
    {
        QFETCH(QByteArray, stream);
        QFETCH(bool, overLimit);

        ClientHarness harness(Address);
        QVERIFY2(harness.start(), qPrintable(harness.errorText()));
        capQuarantine(harness);
        LoopbackPrintService service(Address);
        QVERIFY(service.listen());
        QProcess *client = harness.startClient();
        const ProcessProbe probe(client->processId());
        QVERIFY(service.waitForTexts(0, 1, 30000)); // the registration, checked below
        const qint64 settledKiB = probe.residentKiB();

        service.send(0, stream);

        const QByteArrayList expected = overLimit ? QByteArrayList() : repliesTo(stream);
        int connection = 0;
        if (!overLimit) {
            QVERIFY(service.waitForTexts(0, int(expected.size()) + 1, 120000));
        } else {
            // The client gives up the connection and registers again a second later.
            QVERIFY(service.waitForClose(0, 30000)); // the service itself never closes one
            QVERIFY(service.waitForTexts(1, 1, 30000));
            QCOMPARE(service.texts(1).first(), harness.expectedRegistration());
            connection = 1;
        }
        // The client still answers an ordinary text.
        service.sendText(connection, LoopbackPrintService::Text);
        QVERIFY(service.waitForTexts(connection, connection == 0 ? int(expected.size()) + 2 : 2));

        QByteArrayList replies = textsOf(service.received(0));
        QCOMPARE(replies.takeFirst(), harness.expectedRegistration().toUtf8());
        if (!overLimit)
            QCOMPARE(replies.takeLast(), LoopbackPrintService::Reply.toUtf8());
        QCOMPARE(replies, expected); // so each reply is valid UTF-8 too
        if (overLimit)
            QCOMPARE(service.texts(1).last(), LoopbackPrintService::Reply);
        QVERIFY(service.isOpen(connection)); // and no further connection was needed

        // The client holds at most one text of 1 MiB before it gives up on the stream; its bytes,
        // their decoded form and the log lines about it stay well within 8 MiB, which a client
        // that kept the whole 10 MiB stream would exceed.
        const qint64 peakKiB = probe.peakResidentKiB();
        QVERIFY2(
            peakKiB - settledKiB <= memoryAllowanceKiB(8 * 1024),
            qPrintable(QStringLiteral("resident memory %1 KiB after the registration, peak %2 KiB")
                           .arg(settledKiB)
                           .arg(peakKiB)));
        QCOMPARE(client->state(), QProcess::Running);
        QVERIFY(ClientHarness::stopsCleanly(client));

        const QStringList user = linesOf(harness.logFolder() + "/ondtpc-userlog.txt");
        const QStringList overflow = user.filter("without a message terminator");
        QVERIFY2(overflow.size() == (overLimit ? 1 : 0), qPrintable(overflow.join('\n')));
        for (const QString &line : overflow)
            QVERIFY2(line.contains(", ERROR, ") &&
                         line.endsWith("Received more than 1048576 bytes without a message "
                                       "terminator; dropping the connection"),
                     qPrintable(line));
    }
};

QTEST_GUILESS_MAIN(TestHostilePeer)
#include "tst_hostile_peer.moc"
