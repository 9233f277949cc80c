#include "jobflow/GuestJobReq.h"

#include "protocol/MessageHandler.h"
#include "protocol/MessageIds.h"

namespace Brindlecore::Core {

GuestJobReq::GuestJobReq(std::unique_ptr<MessageHandler> handler, UtilsLib::Observer *observer)
    : Message(std::move(handler), observer)
{}

QString GuestJobReq::formatBody() const
{
    return QStringLiteral("NOT USED");
}

bool GuestJobReq::parse(const QString &)
{
    return true;
}

int GuestJobReq::messageId() const
{
    return MessageIds::GuestJobReq;
}

} // namespace Brindlecore::Core
