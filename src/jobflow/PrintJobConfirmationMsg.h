#pragma once

#include "protocol/Message.h"

#include <QList>
#include <QPair>

namespace Brindlecore::Core {

// The Print Service confirms a job it holds for release (id 6): exactly six non-empty fields,
// whether to show the confirmation, then the job number, the expire time and the release
// terminals with their locations, each after one character the client skips. A text that is
// rejected leaves every field at its default.
class PrintJobConfirmationMsg : public Message
{
public:
    // A release terminal and where it stands.
    using Pickup = QPair<QString, QString>;

    PrintJobConfirmationMsg() = default;
    PrintJobConfirmationMsg(std::unique_ptr<MessageHandler> handler, UtilsLib::Observer *observer);

    std::unique_ptr<Message> clone() const override
    {
        return std::make_unique<PrintJobConfirmationMsg>(*this);
    }
    QString formatBody() const override;
    bool parse(const QString &text) override;
    int messageId() const override;

    bool showDialog() const { return m_fields.showDialog; }
    qint32 jobNumber() const { return m_fields.jobNumber; }
    const QString &expireTime() const { return m_fields.expireTime; }
    const QList<Pickup> &pickupList() const { return m_fields.pickupList; }

private:
    struct Fields
    {
        bool showDialog = false;
        qint32 jobNumber = -1;
        QString expireTime;
        QList<Pickup> pickupList;
    };
    Fields m_fields;
};

} // namespace Brindlecore::Core
