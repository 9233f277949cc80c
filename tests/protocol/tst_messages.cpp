#include "core/AppContext.h"
#include "core/EnvironmentProvider.h"
#include "core/LogEvent.h"
#include "core/ObserverFactoryInterface.h"
#include "protocol/AuthenticateMsg.h"
#include "protocol/CancelJobReq.h"
#include "protocol/ConnectionListenerInterface.h"
#include "protocol/EndOfSessionMsg.h"
#include "protocol/FieldList.h"
#include "protocol/GuestJobMsg.h"
#include "protocol/MessageListenerInterface.h"
#include "protocol/NulTextBuffer.h"
#include "protocol/OpcAckMsg.h"
#include "protocol/OpcConnection.h"
#include "protocol/OpcMessageDispatcher.h"
#include "protocol/PrintClientMessager.h"
#include "protocol/PrintClientRegistration.h"
#include "protocol/PrintJobReq.h"
#include "protocol/SecretMasking.h"
#include "protocol/SettingsResponseMsg.h"

#include "FakePrinterConnector.h"
#include "FixedTimeSource.h"
#include "LogLines.h"
#include "LoopbackPrintService.h"
#include "RecordingObserver.h"
#include "TestPrototype.h"

#include <QTcpSocket>
#include <QtTest>

using namespace Brindlecore::Core;

// This program's own loopback address (the port is fixed; see CMakeLists.txt).
static const QString Address = QStringLiteral("127.0.0.2");

namespace {

const QString JobReply = QStringLiteral("5|20250201090503|Alab-07|Ben_us");

using MessagePtr = std::shared_ptr<Message>;

class ObserverFactory : public ObserverFactoryInterface
{
public:
    explicit ObserverFactory(UtilsLib::Observer *observer)
        : m_observer(observer)
    {}
    QString entryName() const override { return EntryName; }
    UtilsLib::Observer *getObserver() override { return m_observer; }

private:
    UtilsLib::Observer *m_observer;
};

void messageRow(const char *name, const MessagePtr &message, const char *wireText,
                const QStringList &accepted, const QStringList &rejected)
{
    QTest::newRow(name) << message << QString(wireText) << accepted << rejected;
}

// Chunks of bytes with "~" standing for a NUL.
void bufferRow(const char *name, const QList<QByteArray> &chunks, const QStringList &texts,
               bool overflow, const QByteArray &left = QByteArray())
{
    QList<QByteArray> bytes;
    for (QByteArray chunk : chunks)
        bytes.append(chunk.replace('~', '\0'));
    QTest::newRow(name) << bytes << texts << overflow << left;
}

void dispatchRow(const char *name, const QString &text, const QString &reply, int steps,
                 const QStringList &last)
{
    QTest::newRow(name) << text << reply << steps << last;
}

void maskRow(const char *name, const QString &text, const QString &logged)
{
    QTest::newRow(name) << text << logged;
}

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

Q_DECLARE_METATYPE(MessagePtr)

// The protocol: messages, escaped field lists, NUL framing, masked secrets in logged texts, the
// dispatcher's reply table with the log lines of its steps, and the messager on loopback sockets.
class TestMessages : public QObject
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
        AppContext::instance().addEntry(
            std::make_unique<FixedTimeSource>(QDateTime(QDate(2025, 2, 1), QTime(9, 5, 3))));
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
        AppContext::instance().takeEntry("timeSource");
        AppContext::instance().takeEntry("observerManager");
        m_messager.reset();
        m_service.reset();
    }

    void wireTextsAndParse_data()
    {
        QTest::addColumn<MessagePtr>("message");
        QTest::addColumn<QString>("wireText");
        QTest::addColumn<QStringList>("accepted");
        QTest::addColumn<QStringList>("rejected");

        auto print = std::make_shared<PrintJobReq>("fr_ca");
        print->setWorkstationDescription("lab-07");
        auto authenticate = std::make_shared<AuthenticateMsg>();
        authenticate->setUserId("jo");
        // Empty pieces are dropped before the fields are counted.
        messageRow("PrintJobReq", print, "5|20250201090503|Alab-07|Bfr_ca", {"5|ts|Aabc|Ben"},
                   {"5|ts||"});
        messageRow("CancelJobReq", std::make_shared<CancelJobReq>(), "7|20250201090503",
                   {"|7||ts|"}, {"7|ts|x"});
        messageRow("GuestJobMsg", std::make_shared<GuestJobMsg>(true), "53|20250201090503|1",
                   {"53|ts|1"}, {"53|ts|1|2"});
        messageRow("AuthenticateMsg", authenticate, "55|20250201090503|0|jo|jo|",
                   {"55|ts|1|jo|jo|77"}, {"55|ts|0|jo|jo|", "55|ts|0|jo|jo|1|2"});
        messageRow("SettingsResponseMsg", std::make_shared<SettingsResponseMsg>("en_us"),
                   "59|20250201090503|Aen_us", {}, {"59|ts|Aen_us"});
        messageRow("OpcAckMsg", std::make_shared<OpcAckMsg>(), "80|20250201090503",
                   {"80|20250201090503"}, {"80|x|y", "81|x", "8O|x"});
        messageRow("EndOfSessionMsg", std::make_shared<EndOfSessionMsg>(), "86|20250201090503",
                   {"86|ts"}, {"80|ts"});
    }

    void wireTextsAndParse()
    {
        QFETCH(MessagePtr, message);
        QFETCH(QStringList, accepted);
        QFETCH(QStringList, rejected);

        QTEST(message->toWireText(), "wireText");
        for (const QString &text : accepted)
            QVERIFY2(message->parse(text), qPrintable(text));
        for (const QString &text : rejected)
            QVERIFY2(!message->parse(text), qPrintable(text));
    }

    void handleAsksTheHandler()
    {
        RecordingObserver observer;
        QStringList handled;
        TestPrototype prototype(58, "r", &handled, &observer);
        // A copy has a handler of its own and keeps the observers.
        const std::unique_ptr<Message> copy = prototype.clone();
        QVERIFY(copy->handler() && copy->handler() != prototype.handler());
        for (Message *message : {static_cast<Message *>(&prototype), copy.get()}) {
            QCOMPARE(message->handle("Print Service", "58|20250201090503|Aok"), QString("r"));
            QCOMPARE(message->handle("Print Service", "58|Asecret"), QString());
        }
        QCOMPARE(handled, QStringList({"Print Service: 58", "Print Service: 58"}));

        OpcAckMsg withoutHandler;
        withoutHandler.addObserver(&observer);
        QCOMPARE(withoutHandler.handle("Print Service", "80|ts"), QString());
        const QString rejected = "Received invalid message format from Print Service (Invalid "
                                 "Message=58|A****)";
        QCOMPARE(observer.texts("Application"),
                 QStringList({rejected, rejected, "No handler configured"}));
    }

    void handlerObserverFallsBackToTheRegisteredOne()
    {
        RecordingObserver registered;
        RecordingObserver given;
        QVERIFY(!FixedReplyHandler("r", nullptr).hasObservers());

        AppContext::instance().addEntry(std::make_unique<ObserverFactory>(&registered));
        FixedReplyHandler fallback("r", nullptr);
        FixedReplyHandler explicitObserver("r", nullptr, &given);
        UtilsLib::logEvent(&fallback, "H", "H::f", UtilsLib::LogInfo, "to registered");
        UtilsLib::logEvent(&explicitObserver, "H", "H::f", UtilsLib::LogInfo, "to given");
        QCOMPARE(registered.texts(), QStringList{"to registered"});
        QCOMPARE(given.texts(), QStringList{"to given"});
    }

    void localClockWhenNoTimeSourceIsRegistered()
    {
        AppContext::instance().takeEntry("timeSource");
        const QString text = OpcAckMsg().toWireText();
        QVERIFY2(QRegularExpression("^80\\|\\d{14}$").match(text).hasMatch(), qPrintable(text));
    }

    void fieldList_data()
    {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("text");

        QTest::newRow("colon and backslash") << QStringList{"a:b", "c\\d"} << "a\\:b:c\\\\d";
        QTest::newRow("backslash before colon") << QStringList{"\\:"} << "\\\\\\:";
        QTest::newRow("backslash ends a field") << QStringList{"x\\", "y"} << "x\\\\:y";
        QTest::newRow("empty fields") << QStringList{"register", "", ""} << "register::";
        QTest::newRow("empty list") << QStringList{} << "";
    }

    void fieldList()
    {
        QFETCH(QStringList, fields);
        QFETCH(QString, text);
        QCOMPARE(encodeFieldList(fields), text);
        QCOMPARE(decodeFieldList(text), fields);
    }

    void badEscapesThrow()
    {
        QVERIFY_THROWS_EXCEPTION(MessageFormatException, decodeFieldList("a\\xb"));
        QVERIFY_THROWS_EXCEPTION(MessageFormatException, decodeFieldList("a:b\\"));
    }

    void nulTextBuffer_data()
    {
        QTest::addColumn<QList<QByteArray>>("chunks");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<bool>("overflow");
        QTest::addColumn<QByteArray>("left");

        // The buffer's limit is 8 bytes.
        bufferRow("split everywhere", {"a", "b", "~"}, {"ab"}, false);
        bufferRow("several texts, a NUL first in a chunk", {"a~~b~c", "~d"}, {"a", "", "b", "c"},
                  false, "d");
        bufferRow("character across chunks", {"\xe2\x82", "\xac~"}, {"\u20ac"}, false);
        bufferRow("invalid utf-8", {"\xc3(~"}, {"\ufffd("}, false);
        bufferRow("at the limit", {"xxxxxxxx~"}, {"xxxxxxxx"}, false);
        bufferRow("at the limit, open", {"xxxxxxxx"}, {}, false, "xxxxxxxx");
        bufferRow("over the limit, open", {"xxxx", "xxxxx"}, {}, true);
        bufferRow("over the limit, terminated", {"xxxxxxxxx~"}, {}, true);
        bufferRow("a text, then an open one over the limit", {"ok~xxxxxxxxx"}, {"ok"}, true);
        // A peer that writes a byte-order mark before a text is understood; a second one is text.
        bufferRow("byte-order mark before a text", {"\xef\xbb\xbfok~"}, {"ok"}, false);
        bufferRow("byte-order mark across chunks", {"\xef\xbb", "\xbfok~"}, {"ok"}, false);
        bufferRow("only the first mark is dropped", {"\xef\xbb\xbf\xef\xbb\xbfok~"},
                  {QStringLiteral("\ufeffok")}, false);
    }

    void nulTextBuffer()
    {
        QFETCH(QList<QByteArray>, chunks);
        QFETCH(bool, overflow);
        QFETCH(QByteArray, left);

        NulTextBuffer buffer(8);
        QStringList taken;
        NulTextBuffer::Result result = NulTextBuffer::Result::Incomplete;
        for (const QByteArray &chunk : chunks) {
            buffer.append(chunk);
            QString text;
            while ((result = buffer.takeText(text)) == NulTextBuffer::Result::Text)
                taken.append(text);
        }
        QTEST(taken, "texts");
        QCOMPARE(result == NulTextBuffer::Result::Overflow, overflow);
        if (overflow)
            return;
        QCOMPARE(buffer.hasUnterminatedBytes(), !left.isEmpty());
        QCOMPARE(buffer.takeUnterminated(), QString::fromUtf8(left));
    }

    void wireForm_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");

        QTest::newRow("empty text is one NUL") << QString() << QByteArray(1, '\0');
        QTest::newRow("euro sign") << QStringLiteral("\u20acx") << QByteArray("\xe2\x82\xacx", 5);
        // Found by fuzzing: decoding dropped a leading byte-order mark, so the log line of a sent
        // text did not show what was sent.
        QTest::newRow("byte-order mark first")
            << QStringLiteral("\ufeffpin") << QByteArray("\xef\xbb\xbfpin", 7);
    }

    void wireForm()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);

        QCOMPARE(NulTextBuffer::encode(text), bytes);
        QCOMPARE(NulTextBuffer::decode(bytes), text);
        QCOMPARE(NulTextBuffer::decode(bytes + "after the NUL"), text);
    }

    void masking_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("logged");

        maskRow("settings password twice", "58|ts|Aone|C25|Atwo", "58|ts|A****|C25|A****");
        maskRow("settings empty password", "58|ts|A|Qen_us", "58|ts|A****|Qen_us");
        maskRow("lower-case tag is no password", "58|ts|aplain", "58|ts|aplain");
        maskRow("settings with empty fields", "58||ts||Asecret|", "58||ts||A****|");
        maskRow("echoed as not handled", "Message Not Handled: 58|ts|Asecret",
                "Message Not Handled: 58|ts|A****");
        maskRow("authentication pin", "55|ts|0|jo|jo|3132", "55|ts|0|jo|jo|****");
        maskRow("authentication without pin", "55|ts|0|jo|jo|", "55|ts|0|jo|jo|");
        maskRow("user id with a bar", "55|ts|0|j|o|j|o|3132", "55|ts|0|j|o|j|o|****");
        maskRow("authentication id and timestamp only", "55|20250201090503", "55|20250201090503");
        maskRow("other id keeps A fields", "5|ts|Alab-07|Ben_us", "5|ts|Alab-07|Ben_us");
        maskRow("id ending in 58 is another id", "158|ts|Akept", "158|ts|Akept");
        maskRow("registration", "register:jo:LAB-PC-07", "register:jo:LAB-PC-07");
        // The dispatcher reads "58 " (blanks, and NULs, around the digits) as the id 58 and hands
        // the text to the settings message, so the log lines must treat it the same way.
        maskRow("settings id with a blank after it", "58 |20250201090503|A86888a|Qen_us",
                "58 |20250201090503|A****|Qen_us");
        maskRow("settings id between blanks", " 58\t|ts|Asecret", " 58\t|ts|A****");
        maskRow("settings id with NULs after it", QString::fromUtf8("58\0\0|A|x|A0g", 12),
                QString::fromUtf8("58\0\0|A****|x|A****", 18));
        maskRow("echo with a blank after the id", "Message Not Handled: 58 |ts|Asecret",
                "Message Not Handled: 58 |ts|A****");
    }

    void masking()
    {
        QFETCH(QString, text);
        QTEST(maskSecretFields(text), "logged");
    }

    void dispatchReplyTable_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("reply");
        // How many of the four verbose step lines come before the last lines.
        QTest::addColumn<int>("steps");
        QTest::addColumn<QStringList>("last");

        const QString noId = "Warning/2 Message does not have a message id";
        const QString malformed = "Warning/2 Message is malformed";
        const QString notHandled = "Message Not Handled: ";
        const QString handled = "Info/6 Message handled.  Returning: ";
        dispatchRow("no response", "No Response", "No Response", 0,
                    {"Warning/2 Message is NO_RESPONSE"});
        dispatchRow("no separator", "hello", notHandled + "hello", 1, {malformed});
        dispatchRow("empty text", "", notHandled, 1, {malformed});
        dispatchRow("no response, other case", "no response", notHandled + "no response", 1,
                    {malformed});
        dispatchRow("unregistered id", "80|ts", notHandled + "80|ts", 2, {noId});
        dispatchRow("empty id reads as 0", "|x", notHandled + "|x", 2, {noId});
        dispatchRow("id that is no number", "4a|ts|x", notHandled + "4a|ts|x", 2, {noId});
        dispatchRow("body rejected: the empty reply", "4|ts", "", 4,
                    {"Application/1 Received invalid message format from Print Service (Invalid "
                     "Message=4|ts)",
                     handled});
        dispatchRow("handled", "4|ts|Ajob", JobReply, 4, {handled + JobReply});
    }

    void dispatchReplyTable()
    {
        QFETCH(QString, text);
        QFETCH(QString, reply);
        QFETCH(int, steps);
        QFETCH(QStringList, last);

        RecordingObserver observer;
        QStringList handled;
        TestPrototype job(4, JobReply, &handled, &observer);
        TestPrototype other(4, "other", &handled, &observer);
        OpcMessageDispatcher dispatcher(&observer);
        // The first prototype of an id stays; a second one, or none at all, is refused.
        QVERIFY(dispatcher.registerMessage(4, &job));
        QVERIFY(!dispatcher.registerMessage(4, &other));
        QVERIFY(!dispatcher.registerMessage(6, nullptr));
        QCOMPARE(dispatcher.dispatch("Print Service", text), reply);
        QCOMPARE(handled.size(), reply == JobReply ? 1 : 0);

        const QStringList verbose{"Verbose/9 After check for NO_RESPONSE",
                                  "Verbose/9 After check for Message Not Handled",
                                  "Verbose/9 After check for Message id",
                                  "Verbose/9 Attempting to handle message"};
        const QStringList expected = QStringList{"Trace/9 Enter: OpcMessageDispatcher::dispatch",
                                                 "Info/6 Message to dispatch=" + text} +
                                     verbose.mid(0, steps) + last +
                                     QStringList{"Trace/9 Exit: OpcMessageDispatcher::dispatch"};
        QStringList lines;
        for (const auto &event : observer.events())
            lines.append(QString("%1/%2 %3")
                             .arg(event.type(), QString::number(event.level()), event.text()));
        QCOMPARE(lines, expected);
    }

    // The log lines of a write; a text split over several reads is put together; a peer's
    // last text may lack its NUL.
    void logLinesAndTextsAcrossReads()
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

        // No reconnection is carried out on top of the connection established meanwhile: past
        // the delay every due timer has fired, and a reconnection timer left running has logged.
        QTest::qWait(PrintClientMessager::ReconnectDelayMs + 300);
        QCoreApplication::processEvents();
        QCOMPARE(m_observer->texts("Info").filter("Attempting to reconnect").size(), 1);
        QCOMPARE(m_service->connectionCount(), 1);
        QVERIFY(m_service->isOpen(0));
        QCOMPARE(m_service->texts(0), QStringList{"first"});
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

    // An answer given after its connection was lost and made again is not written on the new one.
    void replyToALostConnectionIsDropped()
    {
        QVERIFY(connectOnce());
        struct WaitingDispatcher : OpcMessageDispatcherInterface
        {
            std::function<void()> wait;
            QString dispatch(const QString &, const QString &text) override
            {
                if (text == "question")
                    wait();
                return "answer to " + text;
            }
        } dispatcher;
        dispatcher.wait = [this] {
            m_service->close(0);
            QVERIFY(m_service->waitForConnections(2, 10000));
            QVERIFY(QTest::qWaitFor([&] { return m_connectionLog.count("L:established") == 2; }));
        };
        OpcConnection reception(&dispatcher, m_messager.get(), m_observer.get());
        m_messager->setMessageListener(&reception);
        m_service->sendText(0, "question");
        const QString dropped =
            "Dropped: answer to question (the connection of the text it answers was lost)";
        QVERIFY(QTest::qWaitFor([&] { return m_observer->count(dropped) == 1; }));
        m_service->sendText(1, "probe"); // the first text answered on the new connection
        QVERIFY(m_service->waitForTexts(1, 1));
        QCOMPARE(m_service->texts(1), QStringList{"answer to probe"});
        m_messager->setMessageListener(nullptr);
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

        // The Print Service gets the PIN, the log lines do not; the password is tst_client's.
        const QStringList lines = m_observer->texts();
        QVERIFY2(lines.filter("3132").isEmpty(), qPrintable(lines.filter("3132").join('\n')));
        QVERIFY(lines.contains("Sent: 55|20250201090503|0|jo|jo|****"));
    }
};

QTEST_GUILESS_MAIN(TestMessages)
#include "tst_messages.moc"
