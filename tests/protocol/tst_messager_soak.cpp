#include "protocol/ConnectionListenerInterface.h"
#include "protocol/OpcConnection.h"
#include "protocol/OpcMessageDispatcher.h"
#include "protocol/PrintClientMessager.h"
#include "protocol/PrintClientRegistration.h"

#include "FakePrinterConnector.h"
#include "LoopbackPrintService.h"
#include "RecordingObserver.h"
#include "platform/LinuxEnvironmentProvider.h"

#include <QtTest>

#include <algorithm>
#include <numeric>

// This program's own loopback address (the port is fixed; see CMakeLists.txt).
static const QString Address = QStringLiteral("127.0.0.5");

namespace {

class CountingListener : public ConnectionListenerInterface
{
public:
    void connectionEstablished() override { ++m_established; }
    void connectionLost() override { ++m_lost; }
    int m_established = 0;
    int m_lost = 0;
};

} // namespace

// A Print Service that keeps going away in every way it can: the client must register
// exactly once on each connection it gets, and must never drop a connection by itself.
class TestMessagerSoak : public QObject
{
    Q_OBJECT

private slots:
    void flappingServer_data();
    void flappingServer();
};

void TestMessagerSoak::flappingServer_data()
{
    // How the server goes away at the end of each cycle, in turn.
    QTest::addColumn<int>("reconnectDelayMs");
    QTest::addColumn<QStringList>("flaps");
    QTest::addColumn<int>("cycles");

    QTest::newRow("short delay, many cycles")
        << 100 << QStringList{"close", "reset", "refuse", "close after sending", "close on accept"}
        << 30;
    // Refusals take longest and are the same at any delay.
    QTest::newRow("the real delay") << PrintClientMessager::ReconnectDelayMs
                                    << QStringList{"close", "reset", "close after sending"} << 3;
}

void TestMessagerSoak::flappingServer()
{
    QFETCH(int, reconnectDelayMs);
    QFETCH(QStringList, flaps);
    QFETCH(int, cycles);

    RecordingObserver observer;
    LinuxEnvironmentProvider environment;
    const QString registration = PrintClientRegistration::registrationText(
        environment.userName(), environment.computerName());
    FakePrinterConnector connector(Address);
    OpcMessageDispatcher dispatcher(nullptr);
    PrintClientMessager messager(&observer, reconnectDelayMs);
    PrintClientRegistration registrar(&messager, &environment);
    CountingListener counter;
    OpcConnection reception(&dispatcher, &messager, nullptr);
    messager.setPrinterConnector(&connector);
    messager.addConnectionListener(&registrar);
    messager.addConnectionListener(&counter);
    messager.setMessageListener(&reception);

    LoopbackPrintService service(Address);
    bool closeOnAccept = false;
    connect(&service, &LoopbackPrintService::connectionAccepted, &service, [&](int connection) {
        if (std::exchange(closeOnAccept, false))
            service.close(connection);
    });
    QVERIFY(service.listen());
    messager.reconnect();

    // Long enough for a second reconnection timer, had one been left, to fire and abandon
    // the connection under test.
    const int holdMs = reconnectDelayMs * 3 / 2;
    const int waitMs = reconnectDelayMs * 4 + 5000;
    QList<qint64> delays; // server close to next accept, where the server was listening
    int connection = 0;
    int closedOnAccept = 0;
    for (int cycle = 0; cycle < cycles; ++cycle) {
        const QString flap = flaps[cycle % flaps.size()];
        const QString where = QString("connection %1 before %2").arg(connection).arg(flap);
        QVERIFY2(service.waitForConnections(connection + 1, waitMs), qPrintable(where));
        QTest::qWait(holdMs);
        QVERIFY2(service.isOpen(connection), qPrintable(where));
        service.sendText(connection, "80|20250201090503");
        QVERIFY2(service.waitForTexts(connection, 2), qPrintable(where));
        QCOMPARE(service.texts(connection),
                 (QStringList{registration, "Message Not Handled: 80|20250201090503"}));

        if (flap == "reset") {
            service.reset(connection);
        } else if (flap == "refuse") {
            service.stopListening();
            service.close(connection);
            QTest::qWait(reconnectDelayMs * 5 / 2); // at least two refused attempts
            service.listen();
        } else if (flap == "close after sending") { // the reply meets a closed connection
            service.sendText(connection, "80|20250201090503");
            service.close(connection);
        } else if (flap == "close on accept") { // the server closes the next connection at once
            closeOnAccept = true;
            ++closedOnAccept;
            service.close(connection);
            QVERIFY2(service.waitForConnections(connection + 2, waitMs), qPrintable(where));
            ++connection;
        } else {
            service.close(connection);
        }
        const qint64 closedAt = service.closedAt(connection);
        QVERIFY2(service.waitForConnections(connection + 2, waitMs), qPrintable(where));
        if (flap != "refuse")
            delays.append(service.acceptedAt(connection + 1) - closedAt);
        ++connection;
    }
    service.waitForTexts(connection, 1);
    QTest::qWait(holdMs);

    const int connections = service.connectionCount();
    int registrations = 0;
    for (int i = 0; i < connections; ++i) {
        const QStringList texts = service.texts(i);
        // A registration is never repeated on a connection and always comes first; only
        // a connection the server closed at once may have none.
        const int count = int(texts.count(registration));
        registrations += count;
        QVERIFY2(count == 0 || (count == 1 && texts.first() == registration),
                 qPrintable(QString::number(i)));
        QVERIFY2(!service.closedByClient(i), qPrintable(QString("closed by client: %1").arg(i)));
    }
    QVERIFY(service.isOpen(connections - 1));

    const int attempts = int(observer.texts("Info").filter("Attempting to reconnect").size());
    const auto [shortest, longest] = std::minmax_element(delays.begin(), delays.end());
    qInfo("%d flaps: %d connections, %d registrations, %d established, %d lost, %d attempts; "
          "reconnect delay min %lld ms, mean %lld ms, max %lld ms over %lld reconnections",
          cycles, connections, registrations, counter.m_established, counter.m_lost, attempts,
          *shortest, std::accumulate(delays.begin(), delays.end(), qint64(0)) / delays.size(),
          *longest, qint64(delays.size()));
    // Every connection but those the server closed on accept carried one registration.
    QVERIFY(registrations >= connections - closedOnAccept);
    QCOMPARE(counter.m_established, connections);
    // One loss, one notice, one further attempt; the first attempt was the test's own.
    QCOMPARE(counter.m_lost, attempts - 1);
    QVERIFY(*shortest >= reconnectDelayMs * 95 / 100);
}

QTEST_GUILESS_MAIN(TestMessagerSoak)
#include "tst_messager_soak.moc"
