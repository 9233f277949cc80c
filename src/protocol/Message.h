#pragma once

#include "core/Observable.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace UtilsLib {
class Observer;
}

namespace Brindlecore::Core {

class MessageHandler;

// Base of every protocol message. The wire text is the id, "|", a 14-digit timestamp and
// the body fields, each introduced by "|". A message owns its handler; the dispatcher keeps
// one long-lived prototype per incoming id, whose fields each parse overwrites.
class Message : public UtilsLib::Observable
{
public:
    Message();
    Message(std::unique_ptr<MessageHandler> handler, UtilsLib::Observer *observer);
    // Copies the observer list and clones the handler; the observer field stays empty.
    Message(const Message &other);
    Message &operator=(const Message &other) = delete;
    ~Message() override;

    virtual std::unique_ptr<Message> clone() const = 0;
    // The body fields, each with its leading "|"; empty when there are none.
    virtual QString formatBody() const = 0;
    // Reads a whole wire text into this object; false when it lacks the required shape.
    virtual bool parse(const QString &text) = 0;
    virtual int messageId() const = 0;
    // Parses the text and lets the handler answer it; an empty reply when there is no
    // handler or the text is rejected (both logged at "Application" level).
    virtual QString handle(const QString &source, const QString &text);

    // Uses the AppContext's "timeSource" for the timestamp (the local clock when none is
    // registered).
    QString toWireText() const;

    MessageHandler *handler() const { return m_handler.get(); }
    UtilsLib::Observer *observer() const { return m_observer; }

protected:
    // Every parse splits at "|" and drops empty pieces before counting fields.
    static QStringList splitFields(const QString &text);

private:
    std::unique_ptr<MessageHandler> m_handler;
    UtilsLib::Observer *m_observer = nullptr;
};

} // namespace Brindlecore::Core
