#include "protocol/GuestJobMsg.h"

#include "protocol/MessageIds.h"

namespace Brindlecore::Core {

GuestJobMsg::GuestJobMsg(bool answer)
    : m_answer(answer)
{}

QString GuestJobMsg::formatBody() const
{
    return m_answer ? QStringLiteral("|1") : QStringLiteral("|0");
}

bool GuestJobMsg::parse(const QString &text)
{
    const QStringList fields = splitFields(text);
    if (fields.size() != 3)
        return false;
    m_answer = fields.at(2).toInt() != 0;
    return true;
}

int GuestJobMsg::messageId() const
{
    return MessageIds::GuestJobMsg;
}

} // namespace Brindlecore::Core
