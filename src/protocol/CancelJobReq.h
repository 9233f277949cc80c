#pragma once

#include "protocol/Message.h"

namespace Brindlecore::Core {

// The cancel request (id 7): the user or a rule refused the job.
class CancelJobReq : public Message
{
public:
    CancelJobReq() = default;
    std::unique_ptr<Message> clone() const override
    {
        return std::make_unique<CancelJobReq>(*this);
    }
    QString formatBody() const override;
    bool parse(const QString &text) override;
    int messageId() const override;
};

} // namespace Brindlecore::Core
