#include "protocol/OpcAckMsg.h"

#include "protocol/MessageIds.h"

namespace Brindlecore::Core {

QString OpcAckMsg::formatBody() const
{
    return QString();
}

bool OpcAckMsg::parse(const QString &text)
{
    const QStringList fields = splitFields(text);
    bool isNumber = false;
    return fields.size() == 2 && fields.at(0).toInt(&isNumber) == MessageIds::OpcAckMsg && isNumber;
}

int OpcAckMsg::messageId() const
{
    return MessageIds::OpcAckMsg;
}

} // namespace Brindlecore::Core
