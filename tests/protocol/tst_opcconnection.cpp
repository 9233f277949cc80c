#include "protocol/OpcConnection.h"
#include "protocol/OpcMessageDispatcher.h"
#include "protocol/PrintClientMessager.h"

#include "FakePrinterConnector.h"
#include "LoopbackPrintService.h"
#include "RecordingObserver.h"
#include "TestPrototype.h"

#include <QtTest>

// This program's own loopback address (the port is fixed; see CMakeLists.txt).
static const QString Address = QStringLiteral("127.0.0.3");

// Reception over a real connection: what the Print Service sends is answered on the wire,
// one reply per text, in order, and the log hides the secrets the wire carries.
class TestOpcConnection : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void everyTextIsAnsweredOnceInOrder();
    void repliesStayInOrderWhenTextsComeOneByOne();
    void secretsAreMaskedInEveryLine();

private:
    RecordingObserver m_observer;
    QStringList m_handled;
    std::unique_ptr<TestPrototype> m_jobPrototype;
    std::unique_ptr<TestPrototype> m_authenticationPrototype;
    std::unique_ptr<OpcMessageDispatcher> m_dispatcher;
    std::unique_ptr<FakePrinterConnector> m_connector;
    std::unique_ptr<PrintClientMessager> m_messager;
    std::unique_ptr<OpcConnection> m_connection;
    std::unique_ptr<LoopbackPrintService> m_service;
};

void TestOpcConnection::init()
{
    m_observer.clear();
    m_handled.clear();
    m_jobPrototype =
        std::make_unique<TestPrototype>(4, "5|20250201090503|Alab|Ben_us", &m_handled, &m_observer);
    m_authenticationPrototype = std::make_unique<TestPrototype>(
        54, "55|20250201090503|0|jo|jo|3132", &m_handled, &m_observer);
    m_dispatcher = std::make_unique<OpcMessageDispatcher>(&m_observer);
    m_dispatcher->registerMessage(4, m_jobPrototype.get());
    m_dispatcher->registerMessage(54, m_authenticationPrototype.get());
    m_connector = std::make_unique<FakePrinterConnector>(Address);
    m_messager = std::make_unique<PrintClientMessager>(&m_observer);
    m_messager->setPrinterConnector(m_connector.get());
    m_connection =
        std::make_unique<OpcConnection>(m_dispatcher.get(), m_messager.get(), &m_observer);
    m_messager->setMessageListener(m_connection.get());

    m_service = std::make_unique<LoopbackPrintService>(Address);
    QVERIFY(m_service->listen());
    m_messager->reconnect();
    QVERIFY(m_service->waitForConnections(1));
    QVERIFY(QTest::qWaitFor(
        [&] { return m_observer.count("Exit: PrintClientMessager::connectionEstablished") == 1; }));
}

void TestOpcConnection::cleanup()
{
    m_messager->setMessageListener(nullptr);
    m_messager.reset();
    m_service.reset();
}

void TestOpcConnection::everyTextIsAnsweredOnceInOrder()
{
    // All in one write, as a busy Print Service may send them.
    QByteArray bytes;
    for (const char *text : {"4|20250201090503|Ajob", "80|20250201090503", "hello", "No Response",
                             "", "4|20250201090503", "4|20250201090504|Alast"}) {
        bytes.append(text);
        bytes.append('\0');
    }
    m_service->send(0, bytes);
    QVERIFY(m_service->waitForTexts(0, 7));
    QCOMPARE(m_service->texts(0),
             (QStringList{"5|20250201090503|Alab|Ben_us", "Message Not Handled: 80|20250201090503",
                          "Message Not Handled: hello", "No Response", "Message Not Handled: ", "",
                          "5|20250201090503|Alab|Ben_us"}));
    // The last reply came after all others, so nothing was written twice before it.
    QCOMPARE(m_service->received(0).count('\0'), 7);
    QCOMPARE(m_handled.size(), 2);
}

void TestOpcConnection::repliesStayInOrderWhenTextsComeOneByOne()
{
    for (int i = 0; i < 20; ++i) {
        m_service->sendText(0, QString("4|2025020109%1|A%2").arg(i, 4, 10, QChar('0')).arg(i));
        m_service->sendText(0, QString("id%1").arg(i));
    }
    QVERIFY(m_service->waitForTexts(0, 40));
    const QStringList replies = m_service->texts(0);
    QCOMPARE(replies.size(), 40);
    for (int i = 0; i < 20; ++i) {
        QCOMPARE(replies[2 * i], QString("5|20250201090503|Alab|Ben_us"));
        QCOMPARE(replies[2 * i + 1], QString("Message Not Handled: id%1").arg(i));
    }
}

void TestOpcConnection::secretsAreMaskedInEveryLine()
{
    m_service->sendText(0, "58|20250201090503|Asecret|C25");
    m_service->sendText(0, "54|20250201090503|B1");
    QVERIFY(m_service->waitForTexts(0, 2));
    // The Print Service gets the real values.
    QCOMPARE(m_service->texts(0), (QStringList{"Message Not Handled: 58|20250201090503|Asecret|C25",
                                               "55|20250201090503|0|jo|jo|3132"}));

    const QStringList lines = m_observer.texts();
    QVERIFY2(lines.filter("secret").isEmpty(), qPrintable(lines.filter("secret").join('\n')));
    QVERIFY2(lines.filter("3132").isEmpty(), qPrintable(lines.filter("3132").join('\n')));
    for (const QString &line : QStringList{
             "Recevied: 58|20250201090503|A****|C25",
             "Message to dispatch=58|20250201090503|A****|C25",
             "Sending: Message Not Handled: 58|20250201090503|A****|C25",
             "Sent: Message Not Handled: 58|20250201090503|A****|C25",
             "Message handled.  Returning: 55|20250201090503|0|jo|jo|****",
             "Sending: 55|20250201090503|0|jo|jo|****", "Sent: 55|20250201090503|0|jo|jo|****"}) {
        QVERIFY2(lines.contains(line), qPrintable(line));
    }
}

QTEST_GUILESS_MAIN(TestOpcConnection)
#include "tst_opcconnection.moc"
