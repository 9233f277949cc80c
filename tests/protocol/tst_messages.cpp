#include "app/AppContext.h"
#include "app/LogEvent.h"
#include "app/ObserverFactoryInterface.h"
#include "protocol/AuthenticateMsg.h"
#include "protocol/CancelJobReq.h"
#include "protocol/EndOfSessionMsg.h"
#include "protocol/GuestJobMsg.h"
#include "protocol/MessageHandler.h"
#include "protocol/NoResponse.h"
#include "protocol/OpcAckMsg.h"
#include "protocol/PrintJobReq.h"
#include "protocol/SettingsResponseMsg.h"

#include "FixedTimeSource.h"
#include "RecordingObserver.h"

#include <QtTest>

using namespace Brindlecore::Core;

namespace {

// Answers with a fixed text and records what it was asked.
class EchoHandler : public MessageHandler
{
public:
    EchoHandler(const QString &reply, UtilsLib::Observer *observer = nullptr, int *calls = nullptr)
        : MessageHandler(observer)
        , m_reply(reply)
        , m_calls(calls)
    {}
    QString handle(const QString &source, Message *message) override
    {
        if (m_calls)
            ++*m_calls;
        m_lastSource = source;
        m_lastMessage = message;
        return m_reply;
    }
    std::unique_ptr<MessageHandler> clone() const override
    {
        return std::make_unique<EchoHandler>(*this);
    }

    QString m_reply;
    int *m_calls;
    QString m_lastSource;
    Message *m_lastMessage = nullptr;
};

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

struct AckPrototype : Message
{
    AckPrototype(std::unique_ptr<MessageHandler> handler, UtilsLib::Observer *observer)
        : Message(std::move(handler), observer)
    {}
    std::unique_ptr<Message> clone() const override
    {
        return std::make_unique<AckPrototype>(*this);
    }
    QString formatBody() const override { return QString(); }
    bool parse(const QString &text) override { return OpcAckMsg().parse(text); }
    int messageId() const override { return 80; }
};

std::unique_ptr<Message> makeMessage(const QString &kind)
{
    if (kind == "PrintJobReq")
        return std::make_unique<PrintJobReq>("fr_ca");
    if (kind == "CancelJobReq")
        return std::make_unique<CancelJobReq>();
    if (kind == "GuestJobMsg")
        return std::make_unique<GuestJobMsg>();
    if (kind == "AuthenticateMsg")
        return std::make_unique<AuthenticateMsg>();
    if (kind == "SettingsResponseMsg")
        return std::make_unique<SettingsResponseMsg>("en_us");
    if (kind == "OpcAckMsg")
        return std::make_unique<OpcAckMsg>();
    return std::make_unique<EndOfSessionMsg>();
}

} // namespace

class TestMessages : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void wireTexts_data();
    void wireTexts();
    void parseBoundaries_data();
    void parseBoundaries();
    void parsedFieldsAreRead();
    void handleWithoutHandlerIsAnApplicationError();
    void handleRejectedTextIsAnApplicationError();
    void handleAcceptedTextAsksTheHandler();
    void copiesCloneTheHandler();
    void handlerFallsBackToTheRegisteredObserver();
    void localClockWhenNoTimeSourceIsRegistered();
};

void TestMessages::init()
{
    AppContext::instance().addEntry(
        std::make_unique<FixedTimeSource>(QDateTime(QDate(2025, 2, 1), QTime(9, 5, 3))));
}

void TestMessages::cleanup()
{
    AppContext::instance().takeEntry("timeSource");
    AppContext::instance().takeEntry("observerManager");
}

void TestMessages::wireTexts_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("expected");

    QTest::newRow("print request") << "PrintJobReq"
                                   << "5|20250201090503|Alab-07|Bfr_ca";
    QTest::newRow("cancel") << "CancelJobReq"
                            << "7|20250201090503";
    QTest::newRow("guest yes") << "GuestJobMsg"
                               << "53|20250201090503|1";
    QTest::newRow("authenticate") << "AuthenticateMsg"
                                  << "55|20250201090503|0|jo|jo|";
    QTest::newRow("settings response") << "SettingsResponseMsg"
                                       << "59|20250201090503|Aen_us";
    QTest::newRow("ack") << "OpcAckMsg"
                         << "80|20250201090503";
    QTest::newRow("end of session") << "EndOfSessionMsg"
                                    << "86|20250201090503";
}

void TestMessages::wireTexts()
{
    QFETCH(QString, kind);
    QFETCH(QString, expected);

    auto message = makeMessage(kind);
    if (auto *print = dynamic_cast<PrintJobReq *>(message.get()))
        print->setWorkstationDescription("lab-07");
    if (auto *guest = dynamic_cast<GuestJobMsg *>(message.get()))
        guest->setAnswer(true);
    if (auto *auth = dynamic_cast<AuthenticateMsg *>(message.get()))
        auth->setUserId("jo");
    QCOMPARE(message->toWireText(), expected);
}

void TestMessages::parseBoundaries_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("print: 3 fields") << "PrintJobReq"
                                     << "5|ts|Aabc" << true;
    QTest::newRow("print: 4 fields") << "PrintJobReq"
                                     << "5|ts|Aabc|Ben" << true;
    QTest::newRow("print: 2 fields") << "PrintJobReq"
                                     << "5|ts" << false;
    QTest::newRow("print: empty field dropped") << "PrintJobReq"
                                                << "5|ts||" << false;
    QTest::newRow("cancel: 2 fields") << "CancelJobReq"
                                      << "7|ts" << true;
    QTest::newRow("cancel: empties dropped") << "CancelJobReq"
                                             << "|7||ts|" << true;
    QTest::newRow("cancel: 3 fields") << "CancelJobReq"
                                      << "7|ts|x" << false;
    QTest::newRow("cancel: 1 field") << "CancelJobReq"
                                     << "7" << false;
    QTest::newRow("guest: 3 fields") << "GuestJobMsg"
                                     << "53|ts|1" << true;
    QTest::newRow("guest: 2 fields") << "GuestJobMsg"
                                     << "53|ts" << false;
    QTest::newRow("guest: 4 fields") << "GuestJobMsg"
                                     << "53|ts|1|2" << false;
    QTest::newRow("auth: 6 fields") << "AuthenticateMsg"
                                    << "55|ts|1|jo|jo|77" << true;
    QTest::newRow("auth: empty pin") << "AuthenticateMsg"
                                     << "55|ts|0|jo|jo|" << false;
    QTest::newRow("auth: 7 fields") << "AuthenticateMsg"
                                    << "55|ts|0|jo|jo|1|2" << false;
    QTest::newRow("settings response never") << "SettingsResponseMsg"
                                             << "59|ts|Aen_us" << false;
    QTest::newRow("ack") << "OpcAckMsg"
                         << "80|20250201090503" << true;
    QTest::newRow("ack: 3 fields") << "OpcAckMsg"
                                   << "80|x|y" << false;
    QTest::newRow("ack: wrong id") << "OpcAckMsg"
                                   << "81|x" << false;
    QTest::newRow("ack: id not a number") << "OpcAckMsg"
                                          << "8O|x" << false;
    QTest::newRow("end of session") << "EndOfSessionMsg"
                                    << "86|ts" << true;
    QTest::newRow("end of session: ack id") << "EndOfSessionMsg"
                                            << "80|ts" << false;
    QTest::newRow("end of session: empty") << "EndOfSessionMsg"
                                           << "" << false;
}

void TestMessages::parseBoundaries()
{
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QCOMPARE(makeMessage(kind)->parse(text), accepted);
}

void TestMessages::parsedFieldsAreRead()
{
    PrintJobReq print;
    QVERIFY(print.parse("5|ts|Aabc"));
    QCOMPARE(print.workstationDescription(), QString("abc"));

    AuthenticateMsg auth;
    QVERIFY(auth.parse("55|ts|1|jo|ignored|77"));
    QVERIFY(auth.flag());
    QCOMPARE(auth.userId(), QString("jo"));
    QCOMPARE(auth.pin(), QString("77"));

    // An empty field does not count, so every later field moves one place forward.
    QVERIFY(auth.parse("55|ts||0|a|b|c|"));
    QVERIFY(!auth.flag());
    QCOMPARE(auth.userId(), QString("a"));
    QCOMPARE(auth.pin(), QString("c"));

    GuestJobMsg guest(true);
    QVERIFY(guest.parse("53|ts|0"));
    QVERIFY(!guest.answer());
    QVERIFY(guest.parse("53|ts|yes")); // not a number: 0
    QVERIFY(!guest.answer());
    QVERIFY(guest.parse("53|ts|2"));
    QVERIFY(guest.answer());
}

void TestMessages::handleWithoutHandlerIsAnApplicationError()
{
    RecordingObserver observer;
    OpcAckMsg message;
    message.addObserver(&observer);

    QCOMPARE(message.handle("Print Service", "80|ts"), QString());
    const auto events = observer.events();
    QCOMPARE(events.size(), 1);
    QCOMPARE(events[0].type(), QString("Application"));
    QCOMPARE(events[0].level(), qint16(1));
    QCOMPARE(events[0].source(), QString("Message"));
    QCOMPARE(events[0].className(), QString("Brindlecore::Core::Message"));
    QCOMPARE(events[0].methodName(), QString("handle"));
    QCOMPARE(events[0].text(), QString("No handler configured"));
}

void TestMessages::handleRejectedTextIsAnApplicationError()
{
    RecordingObserver observer;
    int calls = 0;
    AckPrototype prototype(std::make_unique<EchoHandler>("reply", nullptr, &calls), &observer);
    QCOMPARE(prototype.observer(), &observer);

    QCOMPARE(prototype.handle("Print Service", "80|x|y"), QString());
    QCOMPARE(calls, 0);
    QCOMPARE(observer.texts("Application"),
             QStringList{"Received invalid message format from Print Service (Invalid "
                         "Message=80|x|y)"});
}

void TestMessages::handleAcceptedTextAsksTheHandler()
{
    int calls = 0;
    auto handler = std::make_unique<EchoHandler>(NO_RESPONSE, nullptr, &calls);
    EchoHandler *raw = handler.get();
    AckPrototype prototype(std::move(handler), nullptr);

    QCOMPARE(prototype.handle("Print Service", "80|20250201090503"), QString("No Response"));
    QCOMPARE(calls, 1);
    QCOMPARE(raw->m_lastSource, QString("Print Service"));
    QCOMPARE(raw->m_lastMessage, static_cast<Message *>(&prototype));
}

void TestMessages::copiesCloneTheHandler()
{
    RecordingObserver observer;
    int calls = 0;
    AckPrototype original(std::make_unique<EchoHandler>("r", nullptr, &calls), &observer);

    std::unique_ptr<Message> copy = original.clone();
    QVERIFY(copy->handler());
    QVERIFY(copy->handler() != original.handler());
    QCOMPARE(copy->observer(), nullptr); // the field is not copied...
    copy->handle("S", "80|x|y");         // ...but the observer list is
    QCOMPARE(observer.texts("Application").size(), 1);
    QCOMPARE(copy->handle("S", "80|t"), QString("r"));
    QCOMPARE(calls, 1);
}

void TestMessages::handlerFallsBackToTheRegisteredObserver()
{
    RecordingObserver registered;
    RecordingObserver given;

    EchoHandler before("r");
    QVERIFY(!before.hasObservers());

    AppContext::instance().addEntry(std::make_unique<ObserverFactory>(&registered));
    EchoHandler fallback("r");
    EchoHandler explicitObserver("r", &given);
    UtilsLib::logEvent(&fallback, "H", "H::f", UtilsLib::LogInfo, "to registered");
    UtilsLib::logEvent(&explicitObserver, "H", "H::f", UtilsLib::LogInfo, "to given");

    QCOMPARE(registered.texts(), QStringList{"to registered"});
    QCOMPARE(given.texts(), QStringList{"to given"});
}

void TestMessages::localClockWhenNoTimeSourceIsRegistered()
{
    AppContext::instance().takeEntry("timeSource");
    const QString text = OpcAckMsg().toWireText();
    QVERIFY2(QRegularExpression("^80\\|\\d{14}$").match(text).hasMatch(), qPrintable(text));
}

QTEST_GUILESS_MAIN(TestMessages)
#include "tst_messages.moc"
