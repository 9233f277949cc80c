#pragma once

#include <QString>

// Writes one text to the Print Service.
class MessageClientInterface
{
public:
    virtual ~MessageClientInterface() = default;
    // False when the text could not be written whole; the text is then lost, never queued.
    virtual bool sendMessage(const QString &text) = 0;
};
