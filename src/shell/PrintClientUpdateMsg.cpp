#include "shell/PrintClientUpdateMsg.h"

#include "protocol/MessageHandler.h"
#include "protocol/MessageIds.h"

namespace Brindlecore::Core {

PrintClientUpdateMsg::PrintClientUpdateMsg(std::unique_ptr<MessageHandler> handler,
                                           UtilsLib::Observer *observer)
    : Message(std::move(handler), observer)
{}

QString PrintClientUpdateMsg::formatBody() const
{
    return QStringLiteral("Not Implemented");
}

bool PrintClientUpdateMsg::parse(const QString &text)
{
    const QStringList fields = splitFields(text);
    bool isNumber = false;
    if (fields.isEmpty() ||
        fields.at(0).toUInt(&isNumber) != static_cast<uint>(MessageIds::PrintClientUpdateMsg) ||
        !isNumber)
        return false;

    // Read into copies: a text with a field the client does not know is not the Print
    // Service's word on the version, and must not leave half of it behind.
    QString requiredVersion = m_requiredVersion;
    QString downloadSource = m_downloadSource;
    // Field 1 is the timestamp, which the client does not use.
    for (qsizetype i = 2; i < fields.size(); ++i) {
        const QString value = fields.at(i).mid(1);
        switch (fields.at(i).at(0).unicode()) {
        case u'A':
            requiredVersion = value;
            break;
        case u'B':
            downloadSource = value;
            break;
        default:
            return false;
        }
    }
    m_requiredVersion = requiredVersion;
    m_downloadSource = downloadSource;
    return true;
}

int PrintClientUpdateMsg::messageId() const
{
    return MessageIds::PrintClientUpdateMsg;
}

} // namespace Brindlecore::Core
