#include "ClientHarness.h"
#include "FileBytes.h"
#include "LoopbackPrintService.h"
#include "ProcessProbe.h"
#include "SanitizerMemory.h"

#include <QtTest>

// This program's loopback address (the port is fixed; see CMakeLists.txt).
static const QString Address = QStringLiteral("127.0.0.33");
static const QString MalformedAddress = QStringLiteral("127.0.0.37");

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

// What goes into every field of a message's shape: nothing a Print Service should send. The
// 1 MiB are shared out among the fields, keeping the text just under the client's limit.
const QList<QPair<const char *, QByteArray>> MalformedValues{
    {"huge number", "99999999999999999999"},
    {"negative huge number", "-99999999999999999999"},
    {"invalid UTF-8", QByteArrayLiteral("\xff\xc0\xaf\xed\xa0\x80\xf4\x90\x80\x80\xe2\x82")},
    {"markup", "<b>3</b><img src=\"file:///etc/passwd\"><a href=\"x\">4</a><table><tr><td>1"},
    {"1 MiB", QByteArray(1024 * 1024 - 256, 'W')},
};

// Escape in each of the client's windows on screen, as a user who wants none of them would;
// false when one of them lies partly off the screen, out of the user's reach.
bool dismissWindows(const ClientHarness &harness, qint64 pid)
{
    const QStringList screen = harness.onDisplay("xdotool", {"getdisplaygeometry"}).split(' ');
    const QString windows =
        harness.onDisplay("xdotool", {"search", "--onlyvisible", "--pid", QString::number(pid)});
    bool reachable = true;
    for (const QString &window : windows.split('\n', Qt::SkipEmptyParts)) {
        QHash<QString, int> geometry;
        for (const QString &line :
             harness.onDisplay("xdotool", {"getwindowgeometry", "--shell", window}).split('\n'))
            geometry.insert(line.section('=', 0, 0), line.section('=', 1).toInt());
        reachable = reachable && geometry["X"] >= 0 && geometry["Y"] >= 0 &&
                    geometry["X"] + geometry["WIDTH"] <= screen.value(0).toInt() &&
                    geometry["Y"] + geometry["HEIGHT"] <= screen.value(1).toInt();
        harness.onDisplay("xdotool", {"windowfocus", "--sync", window});
        harness.onDisplay("xdotool", {"key", "--window", window, "Escape"});
    }
    return reachable;
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

    // Every message the client handles, in its own shape ("@" a field's value) with values that
    // make no sense, and with too few and too many fields: the client stays up and answers each
    // text, in order, either as the message allows or with the empty reply of a text it rejects.
    void malformedBodies_data()
    {
        QTest::addColumn<QByteArray>("id");
        QTest::addColumn<QByteArray>("shape");
        QTest::addColumn<QStringList>("replies"); // ids (or "No Response") the message may get
        // The message has exactly the shape's number of fields: too few or too many is rejected.
        QTest::addColumn<bool>("exact");

        const QByteArray t = "20250201090503|";
        QTest::newRow("job") << QByteArray("4|") << t + "A@|B@|C@|D@|E@|F@|G@|H@|I@"
                             << QStringList{"5", "7"} << false;
        QTest::newRow("confirmation")
            << QByteArray("6|") << t + "1|J@|E@|L@" << QStringList{"86"} << true;
        QTest::newRow("deleted") << QByteArray("51|") << t + "@" << QStringList{"86"} << false;
        QTest::newRow("guest") << QByteArray("52|") << t + "@" << QStringList{"53"} << false;
        QTest::newRow("identification")
            << QByteArray("54|") << t + "@" << QStringList{"55", "7"} << true;
        const QStringList results{"80", "86", "No Response"};
        QTest::newRow("result") << QByteArray("56|") << t + "@|F@|N@|G@|H@|I@|J@|P@|K@|L@|O@|Q@"
                                << results << false;
        QTest::newRow("refusal") << QByteArray("56|") << t + "1|C@|T@|A@" << results << false;
        QTest::newRow("settings") << QByteArray("58|")
                                  << t + "A@|B@|C@|D@|E@|F@|G@|H@|I@|L@|M@|N@|O@|P@|Q@|R@|S@|T@|U@"
                                  << QStringList{"59"} << false;
        QTest::newRow("progress") << QByteArray("60|") << QByteArray("@") << QStringList{"80"}
                                  << true;
        QTest::newRow("release") << QByteArray("62|") << t + "A@|B@|C@|D@|E@|F@|G@|H@|I@|Y@|Z@"
                                 << QStringList{"86"} << false;
        QTest::newRow("update") << QByteArray("64|") << t + "A@|B@" << QStringList{"80", "86"}
                                << false;
    }
    void malformedBodies()
    {
        QFETCH(QByteArray, id);
        QFETCH(QByteArray, shape);
        QFETCH(QStringList, replies);
        QFETCH(bool, exact);

        QByteArrayList texts{id,
                             id + QByteArray(shape + '|').repeated(4).replace('@', "1").chopped(1)};
        const qsizetype fields = shape.count('@');
        for (const auto &[name, value] : MalformedValues)
            texts.append(id + QByteArray(shape).replace('@', name == QByteArray("1 MiB")
                                                                 ? value.left(value.size() / fields)
                                                                 : value));

        ClientHarness harness(MalformedAddress);
        LoopbackPrintService service(MalformedAddress);
        QVERIFY2(harness.start() && harness.startXServer() && harness.installClient() &&
                     service.listen(),
                 qPrintable(harness.errorText()));
        capQuarantine(harness);
        QProcess *client = harness.startClient();
        const ProcessProbe probe(client->processId());
        QVERIFY(service.waitForTexts(0, 1, 30000));
        const qint64 settledKiB = probe.residentKiB();
        const auto windows = [&] {
            return harness.onDisplay("xdotool", {"search", "--onlyvisible", "--pid",
                                                 QString::number(client->processId())});
        };
        const QString shownBefore = windows(); // the main window of a client without a tray

        // One text at a time, each answered before the next; a dialog it opens is dismissed.
        for (qsizetype i = 0; i < texts.size(); ++i) {
            service.send(0, texts[i] + '\0');
            QDeadlineTimer deadline(60000);
            while (!service.waitForTexts(0, int(i) + 2, 250)) {
                QVERIFY2(!deadline.hasExpired(), texts[i].left(200).constData());
                QVERIFY2(dismissWindows(harness, client->processId()),
                         qPrintable("off the screen: " + texts[i].left(200)));
            }
        }
        service.sendText(0, LoopbackPrintService::Text);
        QVERIFY(service.waitForTexts(0, int(texts.size()) + 2));

        QByteArrayList answers = textsOf(service.received(0));
        QCOMPARE(answers.takeLast(), LoopbackPrintService::Reply.toUtf8());
        QCOMPARE(answers.takeFirst(), harness.expectedRegistration().toUtf8());
        QCOMPARE(answers.size(), texts.size());
        int rejected = 0;
        for (qsizetype i = 0; i < answers.size(); ++i) {
            const QByteArray &answer = answers[i];
            const QByteArray what = texts[i].left(120) + " -> " + answer.left(120);
            QVERIFY2(QString::fromUtf8(answer).toUtf8() == answer, what.constData());
            if (answer.isEmpty())
                ++rejected;
            else
                QVERIFY2(replies.contains(QString::fromUtf8(answer.split('|').constFirst())),
                         what.constData());
            if (exact && i < 2)
                QVERIFY2(answer.isEmpty(), what.constData());
        }
        const QStringList user = linesOf(harness.logFolder() + "/ondtpc-userlog.txt");
        QCOMPARE(user.filter("Received invalid message format from Print Service").size(),
                 rejected);

        // A text of 1 MiB is held a few times over (its bytes, its decoded form, log lines), and
        // a dialog lays out what it shows: an error text of 350 KiB in a message box took 25 MiB.
        const qint64 peakKiB = probe.peakResidentKiB();
        QVERIFY2(peakKiB - settledKiB <= memoryAllowanceKiB(32 * 1024),
                 qPrintable(QStringLiteral("resident memory %1 KiB settled, peak %2 KiB")
                                .arg(settledKiB)
                                .arg(peakKiB)));
        if (QTest::currentDataTag() != QLatin1String("progress")) // it stays until the job ends
            QCOMPARE(windows(), shownBefore);
        QVERIFY(ClientHarness::stopsCleanly(client));
    }
};

QTEST_GUILESS_MAIN(TestHostilePeer)
#include "tst_hostile_peer.moc"
