#include "protocol/CancelJobReq.h"

#include "protocol/MessageIds.h"

namespace Brindlecore::Core {

QString CancelJobReq::formatBody() const
{
    return QString();
}

bool CancelJobReq::parse(const QString &text)
{
    return splitFields(text).size() == 2;
}

int CancelJobReq::messageId() const
{
    return MessageIds::CancelJobReq;
}

} // namespace Brindlecore::Core
