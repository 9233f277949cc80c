#include "protocol/SettingsResponseMsg.h"

#include "protocol/MessageIds.h"

namespace Brindlecore::Core {

SettingsResponseMsg::SettingsResponseMsg(const QString &value)
    : m_value(value)
{}

QString SettingsResponseMsg::formatBody() const
{
    return QLatin1String("|A") + m_value;
}

bool SettingsResponseMsg::parse(const QString &)
{
    return false;
}

int SettingsResponseMsg::messageId() const
{
    return MessageIds::SettingsResponseMsg;
}

} // namespace Brindlecore::Core
