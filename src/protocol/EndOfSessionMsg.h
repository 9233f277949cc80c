#pragma once

#include "protocol/Message.h"

namespace Brindlecore::Core {

// Ends the exchange about one job (id 86).
class EndOfSessionMsg : public Message
{
public:
    EndOfSessionMsg() = default;
    std::unique_ptr<Message> clone() const override
    {
        return std::make_unique<EndOfSessionMsg>(*this);
    }
    QString formatBody() const override;
    bool parse(const QString &text) override;
    int messageId() const override;
};

} // namespace Brindlecore::Core
