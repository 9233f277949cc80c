#include "protocol/ConnectionListenerInterface.h"
#include "protocol/OpcConnection.h"
#include "protocol/OpcMessageDispatcher.h"
#include "protocol/PrintClientMessager.h"
#include "protocol/PrintClientRegistration.h"

#include "FakePrinterConnector.h"
#include "LoopbackPrintService.h"
#include "RecordingObserver.h"
#include "app/LinuxEnvironmentProvider.h"

#include <QtTest>

#include <algorithm>

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

// How the server goes away at the end of one cycle.
enum class Flap { Close, Reset, Refuse, CloseAfterSending, CloseOnAccept };

const char *nameOf(Flap flap)
{
    switch (flap) {
    case Flap::Close:
        return "close";
    case Flap::Reset:
        return "reset";
    case Flap::Refuse:
        return "refuse";
    case Flap::CloseAfterSending:
        return "close after sending";
    case Flap::CloseOnAccept:
        return "close on accept";
    }
    return "";
}

struct SoakResult
{
    int connections = 0;
    int registrations = 0;
    int established = 0;
    int lost = 0;
    int attempts = 0;
    QList<qint64> delays; // server close to next accept, where the server was listening
};

} // namespace

Q_DECLARE_METATYPE(Flap)

// A Print Service that keeps going away in every way it can: the client must register
// exactly once on each connection it gets, and must never drop a connection by itself.
class TestMessagerSoak : public QObject
{
    Q_OBJECT

private slots:
    void flappingServer_data();
    void flappingServer();

private:
    // Runs the flaps against a client with every listener attached; QVERIFY failures end it.
    void soak(int reconnectDelayMs, const QList<Flap> &flaps, SoakResult &result);
};

void TestMessagerSoak::soak(int reconnectDelayMs, const QList<Flap> &flaps, SoakResult &result)
{
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
    int connection = 0;
    for (const Flap flap : flaps) {
        QVERIFY2(service.waitForConnections(connection + 1, waitMs),
                 qPrintable(QString("no connection %1").arg(connection)));
        QTest::qWait(holdMs);
        const QString where = QString("connection %1 before %2").arg(connection).arg(nameOf(flap));
        QVERIFY2(service.isOpen(connection), qPrintable(where));
        service.sendText(connection, "80|20250201090503");
        QVERIFY2(service.waitForTexts(connection, 2), qPrintable(where));
        QCOMPARE(service.texts(connection),
                 (QStringList{registration, "Message Not Handled: 80|20250201090503"}));

        switch (flap) {
        case Flap::Close:
            service.close(connection);
            break;
        case Flap::Reset:
            service.reset(connection);
            break;
        case Flap::Refuse:
            service.stopListening();
            service.close(connection);
            // At least two refused attempts.
            QTest::qWait(reconnectDelayMs * 5 / 2);
            service.listen();
            break;
        case Flap::CloseAfterSending:
            // The reply meets a closed connection.
            service.sendText(connection, "80|20250201090503");
            service.close(connection);
            break;
        case Flap::CloseOnAccept:
            // The next connection is closed by the server as soon as it is accepted.
            closeOnAccept = true;
            service.close(connection);
            QVERIFY2(service.waitForConnections(connection + 2, waitMs), qPrintable(where));
            ++connection;
            break;
        }
        const qint64 closedAt = service.closedAt(connection);
        QVERIFY2(service.waitForConnections(connection + 2, waitMs), qPrintable(where));
        if (flap != Flap::Refuse)
            result.delays.append(service.acceptedAt(connection + 1) - closedAt);
        ++connection;
    }
    service.waitForTexts(connection, 1);
    QTest::qWait(holdMs);

    result.connections = service.connectionCount();
    for (int i = 0; i < result.connections; ++i) {
        const QStringList texts = service.texts(i);
        const int registrations = int(texts.count(registration));
        result.registrations += registrations;
        // A registration is never repeated on a connection and always comes first; only
        // a connection the server closed at once may have none.
        QVERIFY2(registrations <= 1, qPrintable(QString::number(i)));
        if (registrations == 1)
            QCOMPARE(texts.first(), registration);
        QVERIFY2(!service.closedByClient(i), qPrintable(QString("closed by client: %1").arg(i)));
    }
    QVERIFY(service.isOpen(result.connections - 1));
    result.established = counter.m_established;
    result.lost = counter.m_lost;
    result.attempts = int(observer.texts("Info").filter("Attempting to reconnect").size());
}

void TestMessagerSoak::flappingServer_data()
{
    QTest::addColumn<int>("reconnectDelayMs");
    QTest::addColumn<QList<Flap>>("kinds");
    QTest::addColumn<int>("cycles");

    QTest::newRow("short delay, many cycles")
        << 100
        << QList<Flap>{Flap::Close, Flap::Reset, Flap::Refuse, Flap::CloseAfterSending,
                       Flap::CloseOnAccept}
        << 30;
    // Refusals take longest and are the same at any delay.
    QTest::newRow("the real delay")
        << PrintClientMessager::ReconnectDelayMs
        << QList<Flap>{Flap::Close, Flap::Reset, Flap::CloseAfterSending} << 3;
}

void TestMessagerSoak::flappingServer()
{
    QFETCH(int, reconnectDelayMs);
    QFETCH(QList<Flap>, kinds);
    QFETCH(int, cycles);

    QList<Flap> flaps;
    for (int i = 0; i < cycles; ++i)
        flaps.append(kinds[i % kinds.size()]);

    SoakResult result;
    soak(reconnectDelayMs, flaps, result);
    if (QTest::currentTestFailed())
        return;

    const auto [shortest, longest] =
        std::minmax_element(result.delays.begin(), result.delays.end());
    qint64 sum = 0;
    for (qint64 delay : result.delays)
        sum += delay;
    qInfo("%d flaps: %d connections, %d registrations, %d established, %d lost, %d attempts; "
          "reconnect delay min %lld ms, mean %lld ms, max %lld ms over %lld reconnections",
          int(flaps.size()), result.connections, result.registrations, result.established,
          result.lost, result.attempts, *shortest, sum / result.delays.size(), *longest,
          qint64(result.delays.size()));

    // Every connection but those the server closed on accept carried one registration.
    const int closedOnAccept = int(flaps.count(Flap::CloseOnAccept));
    QVERIFY(result.registrations >= result.connections - closedOnAccept);
    QCOMPARE(result.established, result.connections);
    // One loss, one notice, one further attempt; the first attempt was the test's own.
    QCOMPARE(result.lost, result.attempts - 1);
    QVERIFY(*shortest >= reconnectDelayMs * 95 / 100);
}

QTEST_GUILESS_MAIN(TestMessagerSoak)
#include "tst_messager_soak.moc"
