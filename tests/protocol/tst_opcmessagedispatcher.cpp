#include "protocol/MessageClientInterface.h"
#include "protocol/OpcConnection.h"
#include "protocol/OpcMessageDispatcher.h"

#include "RecordingObserver.h"
#include "TestPrototype.h"

#include <QtTest>

namespace {

const QString JobReply = QStringLiteral("5|20250201090503|Alab-07|Ben_us");

// Records what the reception side writes back; the socket side has tests of its own.
class RecordingMessageClient : public MessageClientInterface
{
public:
    bool sendMessage(const QString &text) override
    {
        m_sent.append(text);
        return true;
    }
    QStringList m_sent;
};

struct LogLine
{
    QString type;
    int level;
    QString text;

    friend bool operator==(const LogLine &a, const LogLine &b)
    {
        return a.type == b.type && a.level == b.level && a.text == b.text;
    }
    friend char *toString(const LogLine &line)
    {
        return qstrdup(
            qPrintable(QString("%1/%2 %3").arg(line.type).arg(line.level).arg(line.text)));
    }
};

QList<LogLine> linesOf(const RecordingObserver &observer, const QString &source)
{
    QList<LogLine> lines;
    for (const auto &event : observer.events()) {
        if (event.source() == source)
            lines.append({event.type(), event.level(), event.text()});
    }
    return lines;
}

} // namespace

Q_DECLARE_METATYPE(QList<LogLine>)

class TestOpcMessageDispatcher : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void failureTable_data();
    void failureTable();
    void everyStepIsLogged_data();
    void everyStepIsLogged();
    void eachIdIsRegisteredOnce();
    void connectionWritesEveryReplyOnce_data();
    void connectionWritesEveryReplyOnce();

private:
    RecordingObserver m_observer;
    QStringList m_handled;
    std::unique_ptr<TestPrototype> m_jobPrototype;
    std::unique_ptr<OpcMessageDispatcher> m_dispatcher;
};

void TestOpcMessageDispatcher::init()
{
    m_observer.clear();
    m_handled.clear();
    m_jobPrototype = std::make_unique<TestPrototype>(4, JobReply, &m_handled, &m_observer);
    m_dispatcher = std::make_unique<OpcMessageDispatcher>(&m_observer);
    QVERIFY(m_dispatcher->registerMessage(4, m_jobPrototype.get()));
}

void TestOpcMessageDispatcher::failureTable_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("type");
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("logText");

    const QString noId = "Message does not have a message id";
    QTest::newRow("no response") << "No Response"
                                 << "No Response"
                                 << "Warning" << 2 << "Message is NO_RESPONSE";
    QTest::newRow("no separator") << "hello"
                                  << "Message Not Handled: hello"
                                  << "Warning" << 2 << "Message is malformed";
    QTest::newRow("empty text") << ""
                                << "Message Not Handled: "
                                << "Warning" << 2 << "Message is malformed";
    QTest::newRow("no response, other case") << "no response"
                                             << "Message Not Handled: no response"
                                             << "Warning" << 2 << "Message is malformed";
    QTest::newRow("unregistered id") << "80|20250201090503"
                                     << "Message Not Handled: 80|20250201090503"
                                     << "Warning" << 2 << noId;
    QTest::newRow("empty id reads as 0") << "|x"
                                         << "Message Not Handled: |x"
                                         << "Warning" << 2 << noId;
    QTest::newRow("id that is no number") << "4a|20250201090503|x"
                                          << "Message Not Handled: 4a|20250201090503|x"
                                          << "Warning" << 2 << noId;
    QTest::newRow("body rejected") << "4|20250201090503"
                                   << ""
                                   << "Application" << 1
                                   << "Received invalid message format from Print Service "
                                      "(Invalid Message=4|20250201090503)";
    QTest::newRow("handled") << "4|20250201090503|Ajob" << JobReply << "Info" << 6
                             << "Message handled.  Returning: " + JobReply;
}

void TestOpcMessageDispatcher::failureTable()
{
    QFETCH(QString, text);
    QFETCH(QString, reply);
    QFETCH(QString, type);
    QFETCH(int, level);
    QFETCH(QString, logText);

    const QString answer = m_dispatcher->dispatch("Print Service", text);
    QCOMPARE(answer, reply);
    QCOMPARE(m_handled.size(), reply == JobReply ? 1 : 0);

    const auto events = m_observer.events();
    const auto found = std::find_if(events.begin(), events.end(),
                                    [&](const auto &event) { return event.text() == logText; });
    QVERIFY2(found != events.end(), qPrintable(m_observer.texts().join('\n')));
    QCOMPARE(found->type(), type);
    QCOMPARE(found->level(), qint16(level));
}

void TestOpcMessageDispatcher::everyStepIsLogged_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<LogLine>>("lines");

    const LogLine enter{"Trace", 9, "Enter: OpcMessageDispatcher::dispatch"};
    const LogLine exit{"Trace", 9, "Exit: OpcMessageDispatcher::dispatch"};
    const LogLine afterNoResponse{"Verbose", 9, "After check for NO_RESPONSE"};
    const LogLine afterNotHandled{"Verbose", 9, "After check for Message Not Handled"};

    QTest::newRow("handled") << "4|20250201090503|Ajob"
                             << QList<LogLine>{
                                    enter,
                                    {"Info", 6, "Message to dispatch=4|20250201090503|Ajob"},
                                    afterNoResponse,
                                    afterNotHandled,
                                    {"Verbose", 9, "After check for Message id"},
                                    {"Verbose", 9, "Attempting to handle message"},
                                    {"Info", 6, "Message handled.  Returning: " + JobReply},
                                    exit};
    QTest::newRow("not registered")
        << "80|20250201090503"
        << QList<LogLine>{enter,
                          {"Info", 6, "Message to dispatch=80|20250201090503"},
                          afterNoResponse,
                          afterNotHandled,
                          {"Warning", 2, "Message does not have a message id"},
                          exit};
    QTest::newRow("malformed") << "hello"
                               << QList<LogLine>{enter,
                                                 {"Info", 6, "Message to dispatch=hello"},
                                                 afterNoResponse,
                                                 {"Warning", 2, "Message is malformed"},
                                                 exit};
    QTest::newRow("no response") << "No Response"
                                 << QList<LogLine>{enter,
                                                   {"Info", 6, "Message to dispatch=No Response"},
                                                   {"Warning", 2, "Message is NO_RESPONSE"},
                                                   exit};
}

void TestOpcMessageDispatcher::everyStepIsLogged()
{
    QFETCH(QString, text);
    QFETCH(QList<LogLine>, lines);

    m_dispatcher->dispatch("Print Service", text);
    QCOMPARE(linesOf(m_observer, "OpcMessageDispatcher"), lines);
    for (const auto &event : m_observer.events()) {
        if (event.source() != "OpcMessageDispatcher")
            continue;
        QCOMPARE(event.className(), QString("OpcMessageDispatcher"));
        QCOMPARE(event.methodName(), QString("dispatch"));
    }
}

void TestOpcMessageDispatcher::eachIdIsRegisteredOnce()
{
    TestPrototype other(4, "other", &m_handled, nullptr);
    QVERIFY(!m_dispatcher->registerMessage(4, &other));
    QVERIFY(!m_dispatcher->registerMessage(6, nullptr));
    QCOMPARE(m_dispatcher->dispatch("Print Service", "4|20250201090503|Ajob"), JobReply);
    QCOMPARE(m_dispatcher->dispatch("Print Service", "6|20250201090503|Ajob"),
             QString("Message Not Handled: 6|20250201090503|Ajob"));
}

void TestOpcMessageDispatcher::connectionWritesEveryReplyOnce_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("reply");

    QTest::newRow("handled") << "4|20250201090503|Ajob" << JobReply;
    QTest::newRow("not handled") << "hello"
                                 << "Message Not Handled: hello";
    QTest::newRow("no response") << "No Response"
                                 << "No Response";
    QTest::newRow("rejected body: the empty text") << "4|20250201090503"
                                                   << "";
}

void TestOpcMessageDispatcher::connectionWritesEveryReplyOnce()
{
    QFETCH(QString, text);
    QFETCH(QString, reply);

    RecordingMessageClient client;
    OpcConnection connection(m_dispatcher.get(), &client, &m_observer);
    connection.messageReceived(text);
    QCOMPARE(client.m_sent, QStringList{reply});

    const QList<LogLine> expected{{"Trace", 9, "Enter: OpcConnection::messageReceived"},
                                  {"Info", 6, "Recevied: " + text},
                                  {"Info", 6, "Sent: " + reply},
                                  {"Trace", 9, "Exit: OpcConnection::messageReceived"}};
    QCOMPARE(linesOf(m_observer, "OpcConnection"), expected);
    for (const auto &event : m_observer.events()) {
        if (event.source() == "OpcConnection")
            QCOMPARE(event.className() + "::" + event.methodName(),
                     QString("OpcConnection::messageReceived"));
    }
}

QTEST_GUILESS_MAIN(TestOpcMessageDispatcher)
#include "tst_opcmessagedispatcher.moc"
