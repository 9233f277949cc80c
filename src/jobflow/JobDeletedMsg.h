#pragma once

#include "protocol/Message.h"

namespace Brindlecore::Core {

// The Print Service deleted a held job (id 51). It carries nothing: any text is accepted.
class JobDeletedMsg : public Message
{
public:
    JobDeletedMsg() = default;
    JobDeletedMsg(std::unique_ptr<MessageHandler> handler, UtilsLib::Observer *observer);

    std::unique_ptr<Message> clone() const override
    {
        return std::make_unique<JobDeletedMsg>(*this);
    }
    QString formatBody() const override;
    bool parse(const QString &text) override;
    int messageId() const override;
};

} // namespace Brindlecore::Core
