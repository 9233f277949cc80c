#include "ClientHarness.h"
#include "LoopbackPrintService.h"
#include "ProcessProbe.h"
#include "SanitizerMemory.h"
#include "settings/HexCodec.h"

#include <QtTest>

// This program's loopback addresses (the port is fixed; see CMakeLists.txt).
static const QString DropAddress = QStringLiteral("127.0.0.35");
static const QString FloodAddress = QStringLiteral("127.0.0.36");

namespace {

const QString CostText = QStringLiteral("4|20250201090503|A3|B$0.10|C0|D0|E$0.30|G0|H0");

// Starts an installed client (one that asks before it fetches an update) on a display of its
// own and waits for its registration; null when the harness, the X server or the registration
// failed. A client in session (its booking session
// has used up its ten pages) needs the staff password for the cost dialog's three pages.
QProcess *startRegistered(ClientHarness &harness, LoopbackPrintService &service, bool inSession)
{
    if (!harness.start() || !harness.startXServer() || !harness.installClient() ||
        !service.listen())
        return nullptr;
    if (inSession && harness
                         .setBookingSession("[General]\nIn%20Session=1\n"
                                            "Pages%20Printed%20This%20Session=10\n")
                         .isEmpty())
        return nullptr;
    capQuarantine(harness);
    QProcess *client = harness.startClient();
    return service.waitForTexts(0, 1, 30000) ? client : nullptr;
}

} // namespace

// A Print Service that goes away, or floods the client, while the client shows a dialog: the
// client closes the dialog of a lost connection without answering on the next one, registers
// first on every connection, and answers everything that arrived meanwhile, in order.
class TestDialogPeer : public QObject
{
    Q_OBJECT

private slots:
    void connectionLostWhileADialogIsOpen()
    {
        ClientHarness harness(DropAddress);
        LoopbackPrintService service(DropAddress);
        QProcess *client = startRegistered(harness, service, true);
        QVERIFY2(client, qPrintable(harness.errorText()));
        const ProcessProbe probe(client->processId());
        service.sendText(0, "58|20250201090503|A" + UtilsLib::hexEncode("s3cret") +
                                "|B1|C10|D1|Qen_us");
        QVERIFY(service.waitForTexts(0, 2));

        // Each kind of dialog in turn; the staff password comes after the cost and the warning.
        const QList<QPair<QString, QString>> dialogs{
            {CostText, "Print this job?"},
            {"54|20250201090503|7", "User Identification"},
            {"52|20250201090503", "Job Status Change"},
            {"6|20250201090503|1|J42|E2030-01-01T12:00:00|LFront Desk", "Print Complete"},
            {CostText, "Password Required"},
            {"64|20250201090503|A99.0|Bhttp://127.0.0.1/client", "Question"}};
        const int cycles = 50;
        int descriptors = 0;
        qint64 residentKiB = 0;
        for (int cycle = 0; cycle < cycles; ++cycle) {
            const int connection = cycle + 1;
            const auto &[text, title] = dialogs[cycle % dialogs.size()];
            if (cycle > 0)
                QVERIFY(service.waitForTexts(connection - 1, 1, 30000));
            service.sendText(connection - 1, text);
            if (title == "Password Required") {
                QVERIFY(harness.pressReturnInWindow("Print this job?"));
                QVERIFY(harness.pressReturnInWindow("Warning"));
            }
            QVERIFY2(harness.waitForWindow(title), qPrintable(title));
            service.close(connection - 1);
            QVERIFY(service.waitForConnections(connection + 1, 30000));
            QVERIFY2(harness.waitForWindow(title, false), qPrintable(title + " stayed open"));
            // Memory and descriptors once the client has settled into the cycles (the style's
            // drawing cache is full by then).
            if (cycle == cycles / 2) {
                descriptors = probe.lastingDescriptors();
                residentKiB = probe.residentKiB();
            }
        }
        // A reply still on its way would come before the answer to this text.
        QVERIFY(service.waitForTexts(cycles, 1, 30000));
        service.sendText(cycles, LoopbackPrintService::Text);
        QVERIFY(service.waitForTexts(cycles, 2));
        QCOMPARE(service.texts(cycles).last(), LoopbackPrintService::Reply);
        for (int connection = 1; connection <= cycles; ++connection)
            QCOMPARE(service.texts(connection).first(), harness.expectedRegistration());
        for (int connection = 1; connection < cycles; ++connection)
            QCOMPARE(service.texts(connection).size(), 1);
        QCOMPARE(probe.lastingDescriptors(), descriptors);
        const qint64 grownKiB = probe.residentKiB() - residentKiB;
        QVERIFY2(grownKiB < memoryAllowanceKiB(1024), qPrintable(QString::number(grownKiB)));
        QVERIFY(ClientHarness::stopsCleanly(client));
    }

    void floodWhileADialogIsOpen()
    {
        ClientHarness harness(FloodAddress);
        LoopbackPrintService service(FloodAddress);
        QProcess *client = startRegistered(harness, service, false);
        QVERIFY2(client, qPrintable(harness.errorText()));
        const ProcessProbe probe(client->processId());
        service.sendText(0, CostText);
        QVERIFY(harness.waitForWindow("Print this job?"));
        const qint64 settledKiB = probe.residentKiB();

        const int flood = 10000;
        QByteArray texts;
        for (int i = 0; i < flood; ++i)
            texts += "80|" + QByteArray::number(i) + '\0';
        service.send(0, texts);
        QVERIFY(QTest::qWaitFor([&] { return service.unsent(0) == 0; }, 60000));
        // Nothing is answered while the dialog is open.
        QCOMPARE(service.texts(0).size(), 1);
        QVERIFY(harness.pressKeyInWindow("Print this job?", "Escape"));

        QVERIFY(service.waitForTexts(0, flood + 2, 120000));
        const QStringList replies = service.texts(0);
        QVERIFY2(replies[1].startsWith("7|"), qPrintable(replies[1]));
        for (int i = 0; i < flood; ++i)
            QCOMPARE(replies[i + 2], "Message Not Handled: 80|" + QString::number(i));
        const qint64 grownKiB = probe.peakResidentKiB() - settledKiB;
        QVERIFY2(grownKiB < memoryAllowanceKiB(16 * 1024), qPrintable(QString::number(grownKiB)));
        QVERIFY(ClientHarness::stopsCleanly(client));
    }
};

QTEST_GUILESS_MAIN(TestDialogPeer)
#include "tst_dialog_peer.moc"
