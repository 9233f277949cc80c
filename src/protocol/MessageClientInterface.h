#pragma once

#include <QString>

// Writes one text to the Print Service.
class MessageClientInterface
{
public:
    virtual ~MessageClientInterface() = default;
    // False when the text could not be written whole; the text is then lost, never queued.
    virtual bool sendMessage(const QString &text) = 0;
    // Changes whenever a connection is made or lost, so that a reply can tell whether the
    // connection of the text it answers is still the one it would be written to.
    virtual quint64 connectionNumber() const { return 0; }
};
