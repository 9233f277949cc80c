#pragma once

#include "protocol/Message.h"

namespace Brindlecore::Core {

// The Print Service's answer to the user's identification (id 56), at least six fields in all.
// Result code 3 accepts the user: tagged account fields follow, an unknown tag is ignored and a
// repeated one overwrites. Any other code refuses: a caption, a text and whether the user must
// acknowledge it follow, each after one character the client skips. A field a text does not
// carry has its default, whatever an earlier text said.
class AuthenticateResultMsg : public Message
{
public:
    static constexpr qint32 Accepted = 3;

    AuthenticateResultMsg() = default;
    AuthenticateResultMsg(std::unique_ptr<MessageHandler> handler, UtilsLib::Observer *observer);

    std::unique_ptr<Message> clone() const override
    {
        return std::make_unique<AuthenticateResultMsg>(*this);
    }
    QString formatBody() const override;
    bool parse(const QString &text) override;
    int messageId() const override;

    qint32 resultCode() const { return m_fields.resultCode; }
    const QString &errorCaption() const { return m_fields.errorCaption; }
    const QString &errorText() const { return m_fields.errorText; }
    const QString &allocationBalance() const { return m_fields.allocationBalance; }         // F
    const QString &allocationMarker() const { return m_fields.allocationMarker; }           // N
    const QString &depositBalance() const { return m_fields.depositBalance; }               // G
    const QString &maxDepositBalance() const { return m_fields.maxDepositBalance; }         // H
    const QString &creditBalance() const { return m_fields.creditBalance; }                 // I
    const QString &maxCreditBalance() const { return m_fields.maxCreditBalance; }           // J
    const QString &libraryDepositBalance() const { return m_fields.libraryDepositBalance; } // P
    bool depositExpired() const { return m_fields.depositExpired; }                         // K
    bool creditExpired() const { return m_fields.creditExpired; }                           // L
    bool acknowledgementWanted() const { return m_fields.acknowledgementWanted; }           // O
    bool libraryDepositShown() const { return m_fields.libraryDepositShown; }               // Q

private:
    struct Fields
    {
        qint32 resultCode = -1;
        QString errorCaption;
        QString errorText;
        QString allocationBalance;
        QString allocationMarker;
        QString depositBalance;
        QString maxDepositBalance;
        QString creditBalance;
        QString maxCreditBalance;
        QString libraryDepositBalance;
        bool depositExpired = false;
        bool creditExpired = false;
        bool acknowledgementWanted = false;
        bool libraryDepositShown = false;
    };
    Fields m_fields;
};

} // namespace Brindlecore::Core
