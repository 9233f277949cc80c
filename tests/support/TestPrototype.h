#pragma once

#include "protocol/Message.h"
#include "protocol/MessageHandler.h"

#include <QStringList>

// A handler that answers every message with one fixed reply and records, when given a list,
// "<source>: <id>" for each message it saw.
class FixedReplyHandler : public Brindlecore::Core::MessageHandler
{
public:
    FixedReplyHandler(const QString &reply, QStringList *handled,
                      UtilsLib::Observer *observer = nullptr)
        : MessageHandler(observer)
        , m_reply(reply)
        , m_handled(handled)
    {}
    QString handle(const QString &source, Brindlecore::Core::Message *message) override
    {
        if (m_handled)
            m_handled->append(source + ": " + QString::number(message->messageId()));
        return m_reply;
    }
    std::unique_ptr<MessageHandler> clone() const override
    {
        return std::make_unique<FixedReplyHandler>(*this);
    }

private:
    QString m_reply;
    QStringList *m_handled;
};

// An incoming message for dispatch tests: accepts a text whose first field is its id and
// which has at least three non-empty fields (id, timestamp, one body field).
class TestPrototype : public Brindlecore::Core::Message
{
public:
    TestPrototype(int id, const QString &reply, QStringList *handled, UtilsLib::Observer *observer)
        : Message(std::make_unique<FixedReplyHandler>(reply, handled), observer)
        , m_id(id)
    {}
    std::unique_ptr<Message> clone() const override
    {
        return std::make_unique<TestPrototype>(*this);
    }
    QString formatBody() const override { return QString(); }
    bool parse(const QString &text) override
    {
        const QStringList fields = splitFields(text);
        return fields.size() >= 3 && fields.first().toInt() == m_id;
    }
    int messageId() const override { return m_id; }

private:
    int m_id;
};
