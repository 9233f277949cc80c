#pragma once

#include "core/Observable.h"
#include "protocol/MessageListenerInterface.h"

class MessageClientInterface;
class OpcMessageDispatcherInterface;

namespace UtilsLib {
class Observer;
}

// The reception side of the connection: answers every received text with exactly one
// written text, the dispatcher's reply, whatever it is (empty included), on the connection the
// text came from; a reply whose connection was lost meanwhile is dropped.
class OpcConnection
    : public MessageListenerInterface
    , public UtilsLib::Observable
{
public:
    // Neither the dispatcher nor the message client is owned.
    OpcConnection(OpcMessageDispatcherInterface *dispatcher, MessageClientInterface *messageClient,
                  UtilsLib::Observer *observer);

    void messageReceived(const QString &text) override;

private:
    OpcMessageDispatcherInterface *m_dispatcher;
    MessageClientInterface *m_messageClient;
};
