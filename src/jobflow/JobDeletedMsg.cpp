#include "jobflow/JobDeletedMsg.h"

#include "protocol/MessageHandler.h"
#include "protocol/MessageIds.h"

namespace Brindlecore::Core {

JobDeletedMsg::JobDeletedMsg(std::unique_ptr<MessageHandler> handler, UtilsLib::Observer *observer)
    : Message(std::move(handler), observer)
{}

QString JobDeletedMsg::formatBody() const
{
    return QStringLiteral("NOT USED");
}

bool JobDeletedMsg::parse(const QString &)
{
    return true;
}

int JobDeletedMsg::messageId() const
{
    return MessageIds::JobDeletedMsg;
}

} // namespace Brindlecore::Core
