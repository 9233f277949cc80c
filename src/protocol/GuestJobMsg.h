#pragma once

#include "protocol/Message.h"

namespace Brindlecore::Core {

// The answer to the guest-job question (id 53): 1 yes, 0 no.
class GuestJobMsg : public Message
{
public:
    explicit GuestJobMsg(bool answer = false);

    bool answer() const { return m_answer; }
    void setAnswer(bool answer) { m_answer = answer; }
    std::unique_ptr<Message> clone() const override { return std::make_unique<GuestJobMsg>(*this); }
    QString formatBody() const override;
    bool parse(const QString &text) override;
    int messageId() const override;

private:
    bool m_answer = false;
};

} // namespace Brindlecore::Core
