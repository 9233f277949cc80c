#pragma once

#include "protocol/Message.h"

namespace Brindlecore::Core {

// The Print Service's word that the client must be at least some version (id 64), with where a
// temporary client may be downloaded. The dispatcher keeps one prototype for the whole run, so a
// field a text does not carry keeps the value of the previous text. Never sent.
class PrintClientUpdateMsg : public Message
{
public:
    PrintClientUpdateMsg() = default;
    PrintClientUpdateMsg(std::unique_ptr<MessageHandler> handler, UtilsLib::Observer *observer);

    std::unique_ptr<Message> clone() const override
    {
        return std::make_unique<PrintClientUpdateMsg>(*this);
    }
    QString formatBody() const override;
    // A tag other than A or B rejects the whole text, and then no field changes.
    bool parse(const QString &text) override;
    int messageId() const override;

    const QString &requiredVersion() const { return m_requiredVersion; } // A
    const QString &downloadSource() const { return m_downloadSource; }   // B

private:
    QString m_requiredVersion;
    QString m_downloadSource;
};

} // namespace Brindlecore::Core
