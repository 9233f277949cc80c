#include "core/EnvironmentProvider.h"
#include "protocol/ConnectionListenerInterface.h"
#include "protocol/MessageListenerInterface.h"
#include "protocol/OpcConnection.h"
#include "protocol/OpcMessageDispatcher.h"
#include "protocol/PrintClientMessager.h"
#include "protocol/PrintClientRegistration.h"

#include "FakePrinterConnector.h"
#include "LogLines.h"
#include "LoopbackPrintService.h"
#include "RecordingObserver.h"
#include "TestPrototype.h"

#include <QRegularExpression>
#include <QTcpSocket>
#include <QtTest>

// This program's own loopback address: the port is fixed, so each test program that
// connects takes a different address and the programs can run in parallel.
static const QString Address = QStringLiteral("127.0.0.2");

namespace {

// Writes "<name>:established" / "<name>:lost" into a log, and on request writes a text of its
// own when a connection is established.
class LoggingConnectionListener : public ConnectionListenerInterface
{
public:
    LoggingConnectionListener(const QString &name, QStringList *log)
        : m_name(name)
        , m_log(log)
    {}
    void connectionEstablished() override
    {
        m_log->append(m_name + ":established");
        if (m_client)
            m_client->sendMessage(m_name);
    }
    void connectionLost() override { m_log->append(m_name + ":lost"); }

    MessageClientInterface *m_client = nullptr;

private:
    QString m_name;
    QStringList *m_log;
};

// Keeps the texts it receives; optionally runs the event loop while it handles the first
// one, as a handler that shows a modal dialog does.
class RecordingMessageListener : public MessageListenerInterface
{
public:
    void messageReceived(const QString &text) override
    {
        m_order.append("begin:" + text);
        m_texts.append(text);
        if (m_nestedLoop && m_texts.size() == 1)
            m_nestedLoopEnded = m_nestedLoop();
        m_order.append("end:" + text);
    }

    QStringList m_texts;
    QStringList m_order;
    std::function<bool()> m_nestedLoop;
    bool m_nestedLoopEnded = false;
};

class FixedEnvironment : public EnvironmentProvider
{
public:
    QString domainName() const override { return QString(); }
    QString userName() const override { return m_user; }
    QString computerName() const override { return m_computer; }
    bool isClientServiceInstalled() const override { return false; }

    QString m_user;
    QString m_computer;
};

} // namespace

class TestPrintClientMessager : public QObject
{
    Q_OBJECT

    // Connects m_messager to m_service and waits until both sides see the connection.
    bool connectOnce()
    {
        if (!m_service->listen())
            return false;
        m_messager->reconnect();
        return m_service->waitForConnections(1) &&
               QTest::qWaitFor([&] { return m_connectionLog.contains("L:established"); });
    }
    // The connection attempts the messager logged so far.
    qsizetype attempts() const
    {
        return m_observer->texts("Info")
            .filter(QRegularExpression("^Attempting to reconnect"))
            .size();
    }
    // Runs the event loop past the reconnection delay and then handles every timer that is
    // due: a reconnection timer left running has fired, and logged its attempt, by the end.
    static void outlastReconnectDelay()
    {
        QTest::qWait(PrintClientMessager::ReconnectDelayMs + 300);
        QCoreApplication::processEvents();
    }

    std::unique_ptr<RecordingObserver> m_observer;
    std::unique_ptr<FakePrinterConnector> m_connector;
    std::unique_ptr<LoopbackPrintService> m_service;
    std::unique_ptr<PrintClientMessager> m_messager;
    QStringList m_connectionLog;
    LoggingConnectionListener m_listener{"L", &m_connectionLog};
    RecordingMessageListener m_messages;

private slots:
    void init()
    {
        m_observer = std::make_unique<RecordingObserver>();
        m_connector = std::make_unique<FakePrinterConnector>(Address);
        m_service = std::make_unique<LoopbackPrintService>(Address);
        m_connectionLog.clear();
        m_messages = RecordingMessageListener();
        m_messager = std::make_unique<PrintClientMessager>(m_observer.get());
        m_messager->setPrinterConnector(m_connector.get());
        m_messager->addConnectionListener(&m_listener);
        m_messager->setMessageListener(&m_messages);
    }

    void cleanup()
    {
        m_messager.reset();
        m_service.reset();
    }

    void logLinesAndBytesWritten()
    {
        QVERIFY(connectOnce());
        QVERIFY(m_messager->sendMessage("abc"));
        QVERIFY(QTest::qWaitFor(
            [&] { return m_observer->count("4 bytes successfully written to socket") > 0; }));
        const QStringList lines = LogLines::of(*m_observer);
        const LogLines line{"PrintClientMessager"};
        const QString on = " to print service at 127.0.0.2 on port 21326";
        for (const QString &expected :
             {line("Info", 6, "reconnect", "Attempting to reconnect" + on),
              line("Info", 6, "connectToServer", "Attempting to connect" + on),
              line("Info", 6, "writeData", "Sending: abc"),
              line("Info", 6, "writeData", "Sent 4 bytes"),
              line("Verbose", 9, "writeCompleted", "4 bytes successfully written to socket")})
            QVERIFY2(lines.contains(expected), qPrintable(expected));
    }

    void sendBeforeTheConnectionFails_data()
    {
        QTest::addColumn<bool>("connecting");
        QTest::newRow("disconnected") << false;
        QTest::newRow("connecting") << true;
    }

    void sendBeforeTheConnectionFails()
    {
        QFETCH(bool, connecting);

        QVERIFY(m_service->listen());
        if (connecting)
            m_messager->reconnect();
        // The text is lost rather than held back and sent later ahead of what the connection
        // listeners write first; the failed write asks for a reconnection.
        QVERIFY(!m_messager->sendMessage("early"));
        QVERIFY(m_observer->contains("Info", "Sent -1 bytes"));
        QVERIFY(m_service->waitForConnections(1));
        QVERIFY(QTest::qWaitFor([&] { return m_connectionLog.contains("L:established"); }));
        QCOMPARE(m_connectionLog, (QStringList{"L:lost", "L:established"}));
        QVERIFY(m_messager->sendMessage("first"));

        // No reconnection is carried out on top of the connection established meanwhile.
        outlastReconnectDelay();
        QCOMPARE(attempts(), 1);
        QCOMPARE(m_service->connectionCount(), 1);
        QVERIFY(m_service->isOpen(0));
        QCOMPARE(m_service->texts(0), QStringList{"first"});
    }

    // A text split over several reads is put together; a peer's last text may lack its NUL.
    void textsAcrossReads()
    {
        QVERIFY(connectOnce());
        for (const QByteArray &bytes : {QByteArray("80|2025"), QByteArray("0201\0legacy", 11)}) {
            const int reads = m_observer->count("Enter: PrintClientMessager::dataAvailable");
            m_service->send(0, bytes);
            QVERIFY(QTest::qWaitFor([&] {
                return m_observer->count("Enter: PrintClientMessager::dataAvailable") > reads;
            }));
        }
        QVERIFY(QTest::qWaitFor([&] { return m_messages.m_texts.size() == 2; }));
        QCOMPARE(m_messages.m_texts, (QStringList{"80|20250201", "legacy"}));
    }

    void emptyReadMeansThePeerClosed()
    {
        QVERIFY(connectOnce());
        m_messager->dataAvailable(); // nothing to read
        QCOMPARE(m_connectionLog, (QStringList{"L:established", "L:lost"}));
        QVERIFY(m_service->waitForConnections(2));
        QVERIFY(m_service->closedByClient(0));
    }

    void textsArrivingDuringAHandlerWaitTheirTurn_data()
    {
        // The first text also comes from a legacy peer, handled from the unterminated-text timer
        // rather than from the socket's announcement of new bytes.
        QTest::addColumn<QByteArray>("first");
        QTest::newRow("terminated") << QByteArray("first\0", 6);
        QTest::newRow("unterminated") << QByteArray("first");
    }

    void textsArrivingDuringAHandlerWaitTheirTurn()
    {
        QFETCH(QByteArray, first);

        QVERIFY(connectOnce());
        // The handler of the first text runs the event loop until the second text's bytes are in.
        const auto *socket = m_messager->findChild<QTcpSocket *>("socket");
        m_messages.m_nestedLoop = [this, socket] {
            m_service->sendText(0, "second");
            return QTest::qWaitFor([&] { return socket->bytesAvailable() > 0; });
        };
        m_service->send(0, first);

        QVERIFY(QTest::qWaitFor([&] { return m_messages.m_texts.size() == 2; }));
        QVERIFY(m_messages.m_nestedLoopEnded);
        // The second text came in while the first was being handled; it is handled after it,
        // not inside it, and without waiting for further bytes.
        QCOMPARE(m_messages.m_order,
                 (QStringList{"begin:first", "end:first", "begin:second", "end:second"}));
    }

    // As the client stops: a text that arrives once the listener is detached is dropped, and
    // destroying the messager closes the connection without reporting a loss.
    void detachThenDestroyWhileConnected()
    {
        QVERIFY(connectOnce());
        m_messager->setMessageListener(nullptr);
        m_service->sendText(0, "dropped");
        QVERIFY(QTest::qWaitFor(
            [&] { return m_observer->count("Exit: PrintClientMessager::dataAvailable") > 0; }));
        m_messager.reset();
        QVERIFY(m_service->waitForClose(0));
        QVERIFY(m_service->closedByClient(0));
        QCOMPARE(m_connectionLog, QStringList{"L:established"});
        QVERIFY(m_messages.m_texts.isEmpty());
    }

    void everyConnectionRegistersFirstAndAnswersInOrder()
    {
        // The names are read again on each connection; names that cannot be read are sent empty.
        const QList<QStringList> names{{"jsmith", "LAB-PC-07"}, QStringList{QString(), QString()}};
        const QStringList registrations{"register:jsmith:LAB-PC-07", "register::"};
        FixedEnvironment environment;
        PrintClientRegistration registration(m_messager.get(), &environment);
        LoggingConnectionListener next("next listener", &m_connectionLog);
        next.m_client = m_messager.get();
        m_messager->addConnectionListener(&registration);
        m_messager->addConnectionListener(&next);
        QStringList handled;
        TestPrototype job(4, "5|20250201090503|Alab|Ben_us", &handled, m_observer.get());
        TestPrototype authentication(54, "55|20250201090503|0|jo|jo|3132", &handled,
                                     m_observer.get());
        OpcMessageDispatcher dispatcher(m_observer.get());
        dispatcher.registerMessage(4, &job);
        dispatcher.registerMessage(54, &authentication);
        OpcConnection reception(&dispatcher, m_messager.get(), m_observer.get());
        m_messager->setMessageListener(&reception);
        const auto detach = qScopeGuard([this] { m_messager.reset(); });

        // The Print Service speaks first, all in one write as a busy one may; the registration
        // must still be the first text written, and each text gets one reply, in order (the
        // empty one too).
        QByteArray bytes;
        for (const char *text : {"4|20250201090503|Ajob", "4|20250201090503",
                                 "58|20250201090503|Asecret|C25", "54|20250201090503|B1"}) {
            bytes.append(text);
            bytes.append('\0');
        }
        connect(m_service.get(), &LoopbackPrintService::connectionAccepted, m_service.get(),
                [&](int connection) { m_service->send(connection, bytes); });
        const QStringList replies{"5|20250201090503|Alab|Ben_us", "",
                                  "Message Not Handled: 58|20250201090503|Asecret|C25",
                                  "55|20250201090503|0|jo|jo|3132"};
        QVERIFY(m_service->listen());
        for (int i = 0; i < int(names.size()); ++i) {
            environment.m_user = names[i][0];
            environment.m_computer = names[i][1];
            if (i == 0)
                m_messager->reconnect();
            else
                m_service->close(i - 1);
            QVERIFY(m_service->waitForConnections(i + 1));
            QVERIFY(m_service->waitForTexts(i, 6));
            QCOMPARE(m_service->texts(i),
                     QStringList({registrations[i], "next listener"}) + replies);
        }
        QCOMPARE(handled.size(), 2 * names.size());

        // The Print Service gets the secrets; the log lines do not.
        const QStringList lines = m_observer->texts();
        QVERIFY2(lines.filter("secret").isEmpty(), qPrintable(lines.filter("secret").join('\n')));
        QVERIFY2(lines.filter("3132").isEmpty(), qPrintable(lines.filter("3132").join('\n')));
        QVERIFY(lines.contains("Recevied: 58|20250201090503|A****|C25"));
        QVERIFY(lines.contains("Sent: 55|20250201090503|0|jo|jo|****"));
    }
};

QTEST_GUILESS_MAIN(TestPrintClientMessager)
#include "tst_printclientmessager.moc"
