#pragma once

#include "protocol/Message.h"

namespace Brindlecore::Core {

// The Print Service asks for the progress window while it spools a job (id 60): the id and the
// timestamp, nothing more.
class ShowSpoolingDialogMsg : public Message
{
public:
    ShowSpoolingDialogMsg() = default;
    ShowSpoolingDialogMsg(std::unique_ptr<MessageHandler> handler, UtilsLib::Observer *observer);

    std::unique_ptr<Message> clone() const override
    {
        return std::make_unique<ShowSpoolingDialogMsg>(*this);
    }
    QString formatBody() const override;
    bool parse(const QString &text) override;
    int messageId() const override;
};

} // namespace Brindlecore::Core
