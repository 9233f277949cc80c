#pragma once

#include "protocol/Message.h"

namespace Brindlecore::Core {

// The Print Service asks the workstation to identify its user (id 54): the id, the timestamp
// and the authentication mode, which decides whether a PIN is asked for and whether a guest
// may print without an account.
class AuthenticateReq : public Message
{
public:
    AuthenticateReq() = default;
    AuthenticateReq(std::unique_ptr<MessageHandler> handler, UtilsLib::Observer *observer);

    std::unique_ptr<Message> clone() const override
    {
        return std::make_unique<AuthenticateReq>(*this);
    }
    QString formatBody() const override;
    bool parse(const QString &text) override;
    int messageId() const override;

    qint32 mode() const { return m_mode; }

    // Mode 1 asks for a user id only, 5 also offers guest printing, 7 asks for a PIN and offers
    // guest printing; any other mode asks for a PIN, so that an unknown mode never weakens
    // the check.
    static bool requiresPin(qint32 mode);
    static bool guestsAllowed(qint32 mode);

private:
    qint32 m_mode = 1;
};

} // namespace Brindlecore::Core
