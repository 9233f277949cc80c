#pragma once

#include "core/Observable.h"
#include "protocol/OpcMessageDispatcherInterface.h"

namespace UtilsLib {
class Observer;
}

// Finds the message id of an incoming text and lets the prototype registered for it parse
// the text and call its handler. Every text gets a reply text; nothing here closes the
// connection or throws.
class OpcMessageDispatcher
    : public OpcMessageDispatcherInterface
    , public UtilsLib::Observable
{
public:
    explicit OpcMessageDispatcher(UtilsLib::Observer *observer);

    // The handler's reply; "No Response" for "No Response"; "Message Not Handled: " and the
    // text when the text has no id or an id nobody registered; empty when the prototype
    // rejects the text.
    QString dispatch(const QString &source, const QString &text) override;
};
