#pragma once

#include "protocol/Message.h"

namespace Brindlecore::Core {

// The reply to the settings message (id 59): the locale in force. Never parsed.
class SettingsResponseMsg : public Message
{
public:
    explicit SettingsResponseMsg(const QString &value = QString());

    const QString &value() const { return m_value; }
    std::unique_ptr<Message> clone() const override
    {
        return std::make_unique<SettingsResponseMsg>(*this);
    }
    QString formatBody() const override;
    bool parse(const QString &text) override;
    int messageId() const override;

private:
    QString m_value;
};

} // namespace Brindlecore::Core
