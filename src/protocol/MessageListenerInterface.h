#pragma once

#include <QString>

// Receives every text the Print Service sends, one call per text, in arrival order.
class MessageListenerInterface
{
public:
    virtual ~MessageListenerInterface() = default;
    virtual void messageReceived(const QString &text) = 0;
};
