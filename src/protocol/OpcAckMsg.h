#pragma once

#include "protocol/Message.h"

namespace Brindlecore::Core {

// A bare acknowledgement (id 80).
class OpcAckMsg : public Message
{
public:
    OpcAckMsg() = default;
    std::unique_ptr<Message> clone() const override { return std::make_unique<OpcAckMsg>(*this); }
    QString formatBody() const override;
    bool parse(const QString &text) override;
    int messageId() const override;
};

} // namespace Brindlecore::Core
