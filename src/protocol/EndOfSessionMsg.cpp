#include "protocol/EndOfSessionMsg.h"

#include "protocol/MessageIds.h"

namespace Brindlecore::Core {

QString EndOfSessionMsg::formatBody() const
{
    return QString();
}

bool EndOfSessionMsg::parse(const QString &text)
{
    const QStringList fields = splitFields(text);
    bool isNumber = false;
    return fields.size() == 2 && fields.at(0).toInt(&isNumber) == MessageIds::EndOfSessionMsg &&
           isNumber;
}

int EndOfSessionMsg::messageId() const
{
    return MessageIds::EndOfSessionMsg;
}

} // namespace Brindlecore::Core
