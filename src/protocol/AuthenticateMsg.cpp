#include "protocol/AuthenticateMsg.h"

#include "protocol/MessageIds.h"

namespace Brindlecore::Core {

QString AuthenticateMsg::formatBody() const
{
    // The Print Service expects the user id twice.
    return QString(m_flag ? QLatin1String("|1|") : QLatin1String("|0|")) + m_userId +
           QLatin1Char('|') + m_userId + QLatin1Char('|') + m_pin;
}

bool AuthenticateMsg::parse(const QString &text)
{
    const QStringList fields = splitFields(text);
    if (fields.size() != 6)
        return false;
    m_flag = fields.at(2).toInt() != 0;
    m_userId = fields.at(3);
    m_pin = fields.at(5);
    return true;
}

int AuthenticateMsg::messageId() const
{
    return MessageIds::AuthenticateMsg;
}

} // namespace Brindlecore::Core
