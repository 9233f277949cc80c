#pragma once

#include "protocol/Message.h"

namespace Brindlecore::Core {

// The identification the user gave (id 55): the user id twice and the encoded PIN.
// The PIN is the HexCodec form when the request asked for one, else empty.
class AuthenticateMsg : public Message
{
public:
    AuthenticateMsg() = default;

    bool flag() const { return m_flag; }
    void setFlag(bool flag) { m_flag = flag; }
    const QString &userId() const { return m_userId; }
    void setUserId(const QString &userId) { m_userId = userId; }
    const QString &pin() const { return m_pin; }
    void setPin(const QString &pin) { m_pin = pin; }
    std::unique_ptr<Message> clone() const override
    {
        return std::make_unique<AuthenticateMsg>(*this);
    }
    QString formatBody() const override;
    bool parse(const QString &text) override;
    int messageId() const override;

private:
    bool m_flag = false;
    QString m_userId;
    QString m_pin;
};

} // namespace Brindlecore::Core
