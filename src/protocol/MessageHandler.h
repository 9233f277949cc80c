#pragma once

#include "core/Observable.h"

#include <QString>

#include <memory>

namespace UtilsLib {
class Observer;
}

namespace Brindlecore::Core {

class Message;

// Base of every handler: answers one parsed message with the wire text of its reply,
// NO_RESPONSE or an empty text. A handler holds references only, so clones share them.
class MessageHandler : public UtilsLib::Observable
{
public:
    // Without an observer, the observer of the AppContext's "observerManager" is used
    // when that entry exists.
    explicit MessageHandler(UtilsLib::Observer *observer = nullptr);
    MessageHandler(const MessageHandler &other) = default;
    MessageHandler &operator=(const MessageHandler &other) = default;
    ~MessageHandler() override = default;

    virtual QString handle(const QString &source, Message *message) = 0;
    virtual std::unique_ptr<MessageHandler> clone() const = 0;
};

} // namespace Brindlecore::Core
