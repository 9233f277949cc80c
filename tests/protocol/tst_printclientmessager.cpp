#include "protocol/ConnectionListenerInterface.h"
#include "protocol/MessageListenerInterface.h"
#include "protocol/PrintClientMessager.h"

#include "FakePrinterConnector.h"
#include "LoopbackPrintService.h"
#include "RecordingObserver.h"

#include <QEventLoop>
#include <QTcpSocket>
#include <QTimer>
#include <QtTest>

// This program's own loopback address: the port is fixed, so each test program that
// connects takes a different address and the programs can run in parallel.
static const QString Address = QStringLiteral("127.0.0.2");

namespace {

// Writes "<name>:established" / "<name>:lost" into a log shared by several listeners, so
// the order of notification shows.
class LoggingConnectionListener : public ConnectionListenerInterface
{
public:
    LoggingConnectionListener(const QString &name, QStringList *log)
        : m_name(name)
        , m_log(log)
    {}
    void connectionEstablished() override { m_log->append(m_name + ":established"); }
    void connectionLost() override { m_log->append(m_name + ":lost"); }

private:
    QString m_name;
    QStringList *m_log;
};

// Keeps the texts it receives; optionally spins a nested event loop on the first one, as a
// handler that shows a modal dialog does.
class RecordingMessageListener : public MessageListenerInterface
{
public:
    void messageReceived(const QString &text) override
    {
        m_order.append("begin:" + text);
        m_texts.append(text);
        if (m_nestedLoopMs > 0 && m_texts.size() == 1) {
            QEventLoop loop;
            QTimer::singleShot(m_nestedLoopMs, &loop, &QEventLoop::quit);
            if (m_duringNestedLoop)
                QTimer::singleShot(0, m_duringNestedLoop);
            loop.exec();
        }
        m_order.append("end:" + text);
    }

    QStringList m_texts;
    QStringList m_order;
    int m_nestedLoopMs = 0;
    std::function<void()> m_duringNestedLoop;
};

int countOf(const QStringList &log, const QString &entry)
{
    return int(log.count(entry));
}

} // namespace

class TestPrintClientMessager : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void establishedReachesListenersInOrder();
    void logLinesCarryTheirLevelAndOrigin_data();
    void logLinesCarryTheirLevelAndOrigin();
    void sendWritesUtf8AndOneNul_data();
    void sendWritesUtf8AndOneNul();
    void sendWhileDisconnectedFailsAndReconnects();
    void nothingIsWrittenBeforeTheConnectionIsEstablished();
    void peerCloseReconnectsOnceAfterOneSecond_data();
    void peerCloseReconnectsOnceAfterOneSecond();
    void refusedConnectionRetriesEverySecond();
    void framing_data();
    void framing();
    void textAtTheSizeLimitIsDelivered();
    void overlongTextDropsTheConnection();
    void emptyReadMeansThePeerClosed();
    void textsArrivingDuringAHandlerWaitTheirTurn();
    void detachedListenerDiscardsTexts();
    void destroyingWhileConnectedClosesTheConnection();

private:
    // Connects m_messager to m_service and waits until both sides see the connection.
    bool connectOnce();

    std::unique_ptr<RecordingObserver> m_observer;
    std::unique_ptr<FakePrinterConnector> m_connector;
    std::unique_ptr<LoopbackPrintService> m_service;
    std::unique_ptr<PrintClientMessager> m_messager;
    QStringList m_connectionLog;
    std::unique_ptr<LoggingConnectionListener> m_listener;
    RecordingMessageListener m_messages;
};

void TestPrintClientMessager::init()
{
    m_observer = std::make_unique<RecordingObserver>();
    m_connector = std::make_unique<FakePrinterConnector>(Address);
    m_service = std::make_unique<LoopbackPrintService>(Address);
    m_connectionLog.clear();
    m_listener = std::make_unique<LoggingConnectionListener>("L", &m_connectionLog);
    m_messages = RecordingMessageListener();
    m_messager = std::make_unique<PrintClientMessager>(m_observer.get());
    m_messager->setPrinterConnector(m_connector.get());
    m_messager->addConnectionListener(m_listener.get());
    m_messager->setMessageListener(&m_messages);
}

void TestPrintClientMessager::cleanup()
{
    m_messager.reset();
    m_service.reset();
}

bool TestPrintClientMessager::connectOnce()
{
    if (!m_service->listen())
        return false;
    m_messager->reconnect();
    return m_service->waitForConnections(1) &&
           QTest::qWaitFor([&] { return m_connectionLog.contains("L:established"); });
}

void TestPrintClientMessager::establishedReachesListenersInOrder()
{
    LoggingConnectionListener second("M", &m_connectionLog);
    m_messager->addConnectionListener(&second);
    QVERIFY(connectOnce());
    QCOMPARE(m_connectionLog, (QStringList{"L:established", "M:established"}));
    QCOMPARE(m_connector->addressLookups(), 1);
    QCOMPARE(m_messager->findChild<QTcpSocket *>("socket")->peerAddress().toString(), Address);
}

void TestPrintClientMessager::logLinesCarryTheirLevelAndOrigin_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("type");
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("method");

    QTest::newRow("reconnect") << "Attempting to reconnect to print service at 127.0.0.2 on "
                                  "port 21326"
                               << "Info" << 6 << "reconnect";
    QTest::newRow("connect") << "Attempting to connect to print service at 127.0.0.2 on port "
                                "21326"
                             << "Info" << 6 << "connectToServer";
    QTest::newRow("sending") << "Sending: abc"
                             << "Info" << 6 << "writeData";
    QTest::newRow("sent") << "Sent 4 bytes"
                          << "Info" << 6 << "writeData";
    QTest::newRow("written") << "4 bytes successfully written to socket"
                             << "Verbose" << 9 << "writeCompleted";
    for (const char *method :
         {"reconnect", "connectToServer", "connectionEstablished", "sendMessage", "writeData",
          "writeCompleted", "dataAvailable", "readAvailableData", "setMessageListener",
          "setPrinterConnector", "addConnectionListener", "PrintClientMessager"}) {
        const QString origin = QString("PrintClientMessager::") + method;
        QTest::addRow("enter %s", method) << "Enter: " + origin << "Trace" << 9 << method;
        QTest::addRow("exit %s", method) << "Exit: " + origin << "Trace" << 9 << method;
    }
}

void TestPrintClientMessager::logLinesCarryTheirLevelAndOrigin()
{
    QFETCH(QString, text);
    QFETCH(QString, type);
    QFETCH(int, level);
    QFETCH(QString, method);

    QVERIFY(connectOnce());
    QVERIFY(m_messager->sendMessage("abc"));
    m_service->sendText(0, "x");
    QVERIFY(QTest::qWaitFor([&] { return m_messages.m_texts.size() == 1; }));
    QVERIFY(m_service->waitForBytes(0, 4));
    QVERIFY(QTest::qWaitFor([&] { return m_observer->count(text) > 0; }));

    const auto events = m_observer->events();
    const auto found = std::find_if(events.begin(), events.end(),
                                    [&](const auto &event) { return event.text() == text; });
    QCOMPARE(found->type(), type);
    QCOMPARE(found->level(), qint16(level));
    QCOMPARE(found->source(), QString("PrintClientMessager"));
    QCOMPARE(found->className(), QString("PrintClientMessager"));
    QCOMPARE(found->methodName(), method);
}

void TestPrintClientMessager::sendWritesUtf8AndOneNul_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("ascii") << "abc" << QByteArray("abc\0", 4);
    QTest::newRow("empty text is one NUL") << "" << QByteArray(1, '\0');
    QTest::newRow("utf-8") << QString::fromUtf8("\xc3\xa9t\xc3\xa9")
                           << QByteArray("\xc3\xa9t\xc3\xa9\0", 6);
}

void TestPrintClientMessager::sendWritesUtf8AndOneNul()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);

    QVERIFY(connectOnce());
    QVERIFY(m_messager->sendMessage(text));
    QVERIFY(m_messager->sendMessage("next"));
    QVERIFY(m_service->waitForBytes(0, bytes.size() + 5));
    QCOMPARE(m_service->received(0), bytes + QByteArray("next\0", 5));
}

void TestPrintClientMessager::sendWhileDisconnectedFailsAndReconnects()
{
    QVERIFY(m_service->listen());
    QVERIFY(!m_messager->sendMessage("lost"));
    QCOMPARE(m_connectionLog, QStringList{"L:lost"});
    QVERIFY(m_observer->contains("Info", "Sent -1 bytes"));

    // The failed write schedules the reconnection; the text itself is gone.
    QVERIFY(m_service->waitForConnections(1, 5000));
    QVERIFY(QTest::qWaitFor([&] { return m_connectionLog.size() == 2; }));
    QCOMPARE(m_connectionLog, (QStringList{"L:lost", "L:established"}));
    QVERIFY(m_messager->sendMessage("after"));
    QVERIFY(m_service->waitForTexts(0, 1));
    QCOMPARE(m_service->texts(0), QStringList{"after"});
}

void TestPrintClientMessager::nothingIsWrittenBeforeTheConnectionIsEstablished()
{
    QVERIFY(m_service->listen());
    m_messager->reconnect();
    // The attempt is under way but not established: the text must not be held back and
    // sent later ahead of what the connection listeners write first.
    QVERIFY(!m_messager->sendMessage("early"));
    QVERIFY(m_service->waitForConnections(1));
    QVERIFY(QTest::qWaitFor([&] { return m_connectionLog.contains("L:established"); }));
    QVERIFY(m_messager->sendMessage("first"));
    QVERIFY(m_service->waitForTexts(0, 1));

    // The reconnection the failed write asked for is not carried out on top of the
    // connection that was established meanwhile.
    QTest::qWait(PrintClientMessager::ReconnectDelayMs + 300);
    QCOMPARE(m_service->connectionCount(), 1);
    QVERIFY(m_service->isOpen(0));
    QCOMPARE(m_service->texts(0), QStringList{"first"});
}

void TestPrintClientMessager::peerCloseReconnectsOnceAfterOneSecond_data()
{
    QTest::addColumn<bool>("reset");
    QTest::newRow("orderly close") << false;
    QTest::newRow("reset") << true;
}

void TestPrintClientMessager::peerCloseReconnectsOnceAfterOneSecond()
{
    QFETCH(bool, reset);

    QVERIFY(connectOnce());
    if (reset)
        m_service->reset(0);
    else
        m_service->close(0);
    QVERIFY(m_service->waitForConnections(2, 5000));
    QVERIFY(QTest::qWaitFor([&] { return m_connectionLog.size() == 3; }));

    const qint64 delay = m_service->acceptedAt(1) - m_service->closedAt(0);
    qInfo("reconnected %lld ms after the peer closed", delay);
    // A coarse timer may fire up to 5 % early.
    QVERIFY2(delay >= PrintClientMessager::ReconnectDelayMs * 95 / 100,
             qPrintable(QString::number(delay)));
    // Qt reports the loss twice (error and disconnection): one notice, one reconnection.
    QCOMPARE(m_connectionLog, (QStringList{"L:established", "L:lost", "L:established"}));
    QTest::qWait(PrintClientMessager::ReconnectDelayMs + 300);
    QCOMPARE(m_service->connectionCount(), 2);
    QVERIFY(m_service->isOpen(1));
}

void TestPrintClientMessager::refusedConnectionRetriesEverySecond()
{
    const QString attempt =
        QStringLiteral("Attempting to reconnect to print service at %1 on port 21326").arg(Address);
    m_messager->reconnect();
    QVERIFY(QTest::qWaitFor([&] { return countOf(m_connectionLog, "L:lost") >= 3; }, 10000));

    QList<QDateTime> attempts;
    for (const auto &event : m_observer->events()) {
        if (event.text() == attempt)
            attempts.append(event.time());
    }
    QVERIFY(attempts.size() >= 3);
    for (qsizetype i = 1; i < attempts.size(); ++i) {
        const qint64 gap = attempts[i - 1].msecsTo(attempts[i]);
        QVERIFY2(gap >= PrintClientMessager::ReconnectDelayMs * 95 / 100,
                 qPrintable(QString::number(gap)));
    }
    // Each refusal is one loss and one further attempt.
    QVERIFY(qAbs(countOf(m_connectionLog, "L:lost") - int(attempts.size())) <= 1);
    QCOMPARE(countOf(m_connectionLog, "L:established"), 0);

    QVERIFY(m_service->listen());
    QVERIFY(m_service->waitForConnections(1, 5000));
    QVERIFY(QTest::qWaitFor([&] { return m_connectionLog.last() == "L:established"; }));
}

void TestPrintClientMessager::framing_data()
{
    QTest::addColumn<QList<QByteArray>>("writes");
    QTest::addColumn<int>("unterminatedDelayMs");
    QTest::addColumn<QStringList>("texts");

    // A long unterminated-text delay makes sure the pauses between writes never count.
    QTest::newRow("one text split over three writes")
        << QList<QByteArray>{"80|2025", "0201", QByteArray("090503\0", 7)} << 60000
        << QStringList{"80|20250201090503"};
    QTest::newRow("three texts in one write")
        << QList<QByteArray>{QByteArray("one\0two\0three\0", 14)} << 60000
        << QStringList{"one", "two", "three"};
    QTest::newRow("text ends in the next write's first byte")
        << QList<QByteArray>{QByteArray("a\0b", 3), QByteArray("\0c\0", 3)} << 60000
        << QStringList{"a", "b", "c"};
    QTest::newRow("character split between writes")
        << QList<QByteArray>{"\xc3", QByteArray("\xa9\0", 2)} << 60000
        << QStringList{QString::fromUtf8("\xc3\xa9")};
    QTest::newRow("invalid utf-8") << QList<QByteArray>{QByteArray("\xff\xfeok\0", 5)} << 60000
                                   << QStringList{QString(2, QChar::ReplacementCharacter) + "ok"};
    QTest::newRow("empty text") << QList<QByteArray>{QByteArray(1, '\0')} << 60000
                                << QStringList{""};
    QTest::newRow("unterminated text from a legacy peer")
        << QList<QByteArray>{"80|20250201090503"} << PrintClientMessager::UnterminatedTextDelayMs
        << QStringList{"80|20250201090503"};
    QTest::newRow("unterminated after a terminated text")
        << QList<QByteArray>{QByteArray("a\0b", 3)} << PrintClientMessager::UnterminatedTextDelayMs
        << QStringList{"a", "b"};
}

void TestPrintClientMessager::framing()
{
    QFETCH(QList<QByteArray>, writes);
    QFETCH(int, unterminatedDelayMs);
    QFETCH(QStringList, texts);

    m_messager = std::make_unique<PrintClientMessager>(
        m_observer.get(), PrintClientMessager::ReconnectDelayMs, unterminatedDelayMs);
    m_messager->setPrinterConnector(m_connector.get());
    m_messager->addConnectionListener(m_listener.get());
    m_messager->setMessageListener(&m_messages);
    QVERIFY(connectOnce());

    for (const QByteArray &bytes : writes) {
        m_service->send(0, bytes);
        QTest::qWait(30); // separate reads on the client's side
    }
    QVERIFY(QTest::qWaitFor([&] { return m_messages.m_texts.size() >= texts.size(); }));
    QCOMPARE(m_messages.m_texts, texts);
    // Another text proves nothing else was pending: it arrives next, alone.
    m_service->send(0, QByteArray("end\0", 4));
    QVERIFY(QTest::qWaitFor([&] { return m_messages.m_texts.size() > texts.size(); }));
    QCOMPARE(m_messages.m_texts, texts + QStringList{"end"});
    QVERIFY(m_service->isOpen(0));
}

void TestPrintClientMessager::textAtTheSizeLimitIsDelivered()
{
    QVERIFY(connectOnce());
    QByteArray text(NulTextBuffer::DefaultMaxTextBytes, 'x');
    m_service->send(0, text + '\0');
    QVERIFY(QTest::qWaitFor([&] { return m_messages.m_texts.size() == 1; }, 10000));
    QCOMPARE(m_messages.m_texts.first().size(), NulTextBuffer::DefaultMaxTextBytes);
    QVERIFY(m_service->isOpen(0));
}

void TestPrintClientMessager::overlongTextDropsTheConnection()
{
    QVERIFY(connectOnce());
    m_service->send(0, QByteArray(NulTextBuffer::DefaultMaxTextBytes + 1, 'x'));
    QVERIFY(m_service->waitForClose(0, 10000));
    QVERIFY(m_service->closedByClient(0));

    const auto events = m_observer->events();
    const auto error = std::find_if(events.begin(), events.end(),
                                    [](const auto &event) { return event.type() == "Error"; });
    QVERIFY(error != events.end());
    QCOMPARE(error->text(), QString("Received more than 1048576 bytes without a message "
                                    "terminator; dropping the connection"));
    QCOMPARE(error->level(), qint16(1));
    QCOMPARE(error->className(), QString("PrintClientMessager"));
    QCOMPARE(error->methodName(), QString("dataAvailable"));
    QVERIFY(m_messages.m_texts.isEmpty());

    // A fresh connection follows, with nothing left over from the old one.
    QVERIFY(m_service->waitForConnections(2, 5000));
    QVERIFY(QTest::qWaitFor([&] { return m_connectionLog.size() == 3; }));
    QCOMPARE(m_connectionLog, (QStringList{"L:established", "L:lost", "L:established"}));
    m_service->sendText(1, "fresh");
    QVERIFY(QTest::qWaitFor([&] { return !m_messages.m_texts.isEmpty(); }));
    QCOMPARE(m_messages.m_texts, QStringList{"fresh"});
}

void TestPrintClientMessager::emptyReadMeansThePeerClosed()
{
    QVERIFY(connectOnce());
    m_messager->dataAvailable(); // nothing to read
    QCOMPARE(m_connectionLog, (QStringList{"L:established", "L:lost"}));
    QVERIFY(m_service->waitForConnections(2, 5000));
    QVERIFY(m_service->closedByClient(0));
}

void TestPrintClientMessager::textsArrivingDuringAHandlerWaitTheirTurn()
{
    QVERIFY(connectOnce());
    m_messages.m_nestedLoopMs = 300;
    m_messages.m_duringNestedLoop = [this] { m_service->sendText(0, "second"); };
    m_service->sendText(0, "first");

    QVERIFY(QTest::qWaitFor([&] { return m_messages.m_texts.size() == 2; }));
    // The second text came in while the first was being handled; it is handled after it,
    // not inside it, and without waiting for further bytes.
    QCOMPARE(m_messages.m_order,
             (QStringList{"begin:first", "end:first", "begin:second", "end:second"}));
}

void TestPrintClientMessager::detachedListenerDiscardsTexts()
{
    QVERIFY(connectOnce());
    m_messager->setMessageListener(nullptr);
    m_service->sendText(0, "dropped");
    QVERIFY(QTest::qWaitFor(
        [&] { return m_observer->count("Exit: PrintClientMessager::dataAvailable") > 0; }));
    m_messager->setMessageListener(&m_messages);
    m_service->sendText(0, "kept");
    QVERIFY(QTest::qWaitFor([&] { return !m_messages.m_texts.isEmpty(); }));
    QCOMPARE(m_messages.m_texts, QStringList{"kept"});
}

void TestPrintClientMessager::destroyingWhileConnectedClosesTheConnection()
{
    QVERIFY(connectOnce());
    m_messager.reset();
    QVERIFY(m_service->waitForClose(0));
    QVERIFY(m_service->closedByClient(0));
    QCOMPARE(m_connectionLog, QStringList{"L:established"});
}

QTEST_GUILESS_MAIN(TestPrintClientMessager)
#include "tst_printclientmessager.moc"
