#pragma once

#include "protocol/Message.h"

namespace Brindlecore::Core {

// The Print Service did not accept the user's identification for a job and asks whether it
// may go on as a guest job (id 52). It carries nothing: any text is accepted.
class GuestJobReq : public Message
{
public:
    GuestJobReq() = default;
    GuestJobReq(std::unique_ptr<MessageHandler> handler, UtilsLib::Observer *observer);

    std::unique_ptr<Message> clone() const override { return std::make_unique<GuestJobReq>(*this); }
    QString formatBody() const override;
    bool parse(const QString &text) override;
    int messageId() const override;
};

} // namespace Brindlecore::Core
