#include "jobflow/ShowSpoolingDialogMsg.h"

#include "protocol/MessageHandler.h"
#include "protocol/MessageIds.h"

namespace Brindlecore::Core {

ShowSpoolingDialogMsg::ShowSpoolingDialogMsg(std::unique_ptr<MessageHandler> handler,
                                             UtilsLib::Observer *observer)
    : Message(std::move(handler), observer)
{}

QString ShowSpoolingDialogMsg::formatBody() const
{
    return QString();
}

bool ShowSpoolingDialogMsg::parse(const QString &text)
{
    return splitFields(text).size() == 2;
}

int ShowSpoolingDialogMsg::messageId() const
{
    return MessageIds::ShowSpoolingDialogMsg;
}

} // namespace Brindlecore::Core
