#pragma once

#include "jobflow/PageCountDialogModel.h"
#include "protocol/Message.h"

namespace Brindlecore::Core {

// The Print Service received a job and tells what it costs (id 4). Tagged fields follow the
// timestamp, in any number; an empty field or an unknown tag is ignored and a repeated tag
// overwrites. A field a text does not carry has its default, whatever an earlier job said.
class JobReceivedMsg
    : public Message
    , public PageCountDialogModel
{
public:
    JobReceivedMsg() = default;
    JobReceivedMsg(std::unique_ptr<MessageHandler> handler, UtilsLib::Observer *observer);

    std::unique_ptr<Message> clone() const override
    {
        return std::make_unique<JobReceivedMsg>(*this);
    }
    QString formatBody() const override;
    bool parse(const QString &text) override;
    int messageId() const override;

    QString getPrice() const override { return m_fields.price; }
    qint32 getFreeCount() const override { return m_fields.freeCount; }
    qint32 getTotalPages() const override { return m_fields.totalPages; }
    QString getTotalCost() const override { return m_fields.totalCost; }
    bool isUserIdRequired() const override { return m_fields.userIdRequired; }
    QString getAccountText() const override { return m_fields.accountText; }
    bool isFree() const override { return m_fields.free; }
    qint32 getTotalSheets() const override { return m_fields.totalSheets; }
    bool getFlagI() const override { return m_fields.flagI; }

private:
    struct Fields
    {
        QString price;
        qint32 freeCount = 0;
        qint32 totalPages = 0;
        QString totalCost;
        bool userIdRequired = false;
        QString accountText;
        bool free = false;
        qint32 totalSheets = 0;
        bool flagI = false;
    };
    Fields m_fields;
};

} // namespace Brindlecore::Core
