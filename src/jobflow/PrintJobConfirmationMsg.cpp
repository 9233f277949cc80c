#include "jobflow/PrintJobConfirmationMsg.h"

#include "protocol/MessageHandler.h"
#include "protocol/MessageIds.h"

namespace Brindlecore::Core {

namespace {

constexpr qsizetype FieldCount = 6;
const QString PickupSeparator = QStringLiteral("#^#");

} // namespace

PrintJobConfirmationMsg::PrintJobConfirmationMsg(std::unique_ptr<MessageHandler> handler,
                                                 UtilsLib::Observer *observer)
    : Message(std::move(handler), observer)
{}

QString PrintJobConfirmationMsg::formatBody() const
{
    // Only ever received; the placeholder marks that the client never sends it.
    return QStringLiteral("Not Used");
}

bool PrintJobConfirmationMsg::parse(const QString &text)
{
    // Reset before the shape check: no text, accepted or not, shows an earlier job's terminals.
    m_fields = Fields();
    const QStringList fields = splitFields(text);
    if (fields.size() != FieldCount)
        return false;

    // Field 1 is the timestamp, which the client does not use.
    m_fields.showDialog = fields.at(2).toInt() != 0;
    m_fields.jobNumber = fields.at(3).mid(1).toInt(nullptr, 10);
    m_fields.expireTime = fields.at(4).mid(1);

    // Terminal and location alternate; an empty list means no terminal at all, and a pair with
    // nothing in it would only show as a blank row.
    const QString pickups = fields.at(5).mid(1);
    if (pickups.isEmpty())
        return true;
    const QStringList items = pickups.split(PickupSeparator);
    for (qsizetype i = 0; i < items.size(); i += 2) {
        const Pickup pickup(items.at(i), items.value(i + 1));
        if (!pickup.first.isEmpty() || !pickup.second.isEmpty())
            m_fields.pickupList.append(pickup);
    }
    return true;
}

int PrintJobConfirmationMsg::messageId() const
{
    return MessageIds::PrintJobConfirmationMsg;
}

} // namespace Brindlecore::Core
