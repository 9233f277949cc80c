#pragma once

#include "protocol/Message.h"

namespace Brindlecore::Core {

// The outcome of a release the Print Service made by itself (id 62): where the job went and
// how it was paid, or why it failed and what is refunded. Tagged fields after the timestamp, at
// least eleven fields in all; an unknown tag is ignored and a repeated one overwrites. A field
// a text does not carry has its default, whatever an earlier text said.
class AutoReleaseMsg : public Message
{
public:
    AutoReleaseMsg() = default;
    AutoReleaseMsg(std::unique_ptr<MessageHandler> handler, UtilsLib::Observer *observer);

    std::unique_ptr<Message> clone() const override
    {
        return std::make_unique<AutoReleaseMsg>(*this);
    }
    QString formatBody() const override;
    bool parse(const QString &text) override;
    int messageId() const override;

    bool released() const { return m_fields.released; }                       // A
    qint32 valueB() const { return m_fields.valueB; }                         // B, carried only
    const QString &printerFamily() const { return m_fields.printerFamily; }   // C
    const QString &pickupLocation() const { return m_fields.pickupLocation; } // D
    const QString &errorText() const { return m_fields.errorText; }           // E
    // Letters naming the accounts paid from, in display order: A allocation, C credit,
    // D deposit.
    const QString &paymentOrder() const { return m_fields.paymentOrder; }         // F
    const QString &allocationAmount() const { return m_fields.allocationAmount; } // G
    const QString &depositAmount() const { return m_fields.depositAmount; }       // H
    const QString &creditAmount() const { return m_fields.creditAmount; }         // I
    const QString &refundId() const { return m_fields.refundId; }                 // Z
    // A whole number of cents as text; 0, empty or not a number means no refund.
    const QString &refundAmount() const { return m_fields.refundAmount; } // Y

private:
    struct Fields
    {
        bool released = false;
        qint32 valueB = 0;
        QString printerFamily;
        QString pickupLocation;
        QString errorText;
        QString paymentOrder;
        QString allocationAmount;
        QString depositAmount;
        QString creditAmount;
        QString refundId;
        QString refundAmount;
    };
    Fields m_fields;
};

} // namespace Brindlecore::Core
