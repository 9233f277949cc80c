#include "jobflow/AutoReleaseMsg.h"

#include "protocol/MessageHandler.h"
#include "protocol/MessageIds.h"

namespace Brindlecore::Core {

namespace {

constexpr qsizetype MinimumFields = 11;

} // namespace

AutoReleaseMsg::AutoReleaseMsg(std::unique_ptr<MessageHandler> handler,
                               UtilsLib::Observer *observer)
    : Message(std::move(handler), observer)
{}

QString AutoReleaseMsg::formatBody() const
{
    return QString();
}

bool AutoReleaseMsg::parse(const QString &text)
{
    const QStringList fields = splitFields(text);
    bool isNumber = false;
    if (fields.size() < MinimumFields ||
        fields.at(0).toUInt(&isNumber) != static_cast<uint>(MessageIds::AutoReleaseMsg) ||
        !isNumber)
        return false;

    // Every text stands alone: a field it lacks must not show what an earlier release said
    // (another user's refund, for one).
    m_fields = Fields();

    // Field 1 is the timestamp, which the client does not use.
    for (qsizetype i = 2; i < fields.size(); ++i) {
        const QString value = fields.at(i).mid(1);
        switch (fields.at(i).at(0).unicode()) {
        case u'A':
            m_fields.released = value.toInt() != 0;
            break;
        case u'B':
            m_fields.valueB = value.toInt();
            break;
        case u'C':
            m_fields.printerFamily = value;
            break;
        case u'D':
            m_fields.pickupLocation = value;
            break;
        case u'E':
            m_fields.errorText = value;
            break;
        case u'F':
            m_fields.paymentOrder = value;
            break;
        case u'G':
            m_fields.allocationAmount = value;
            break;
        case u'H':
            m_fields.depositAmount = value;
            break;
        case u'I':
            m_fields.creditAmount = value;
            break;
        case u'Y':
            m_fields.refundAmount = value;
            break;
        case u'Z':
            m_fields.refundId = value;
            break;
        default:
            break;
        }
    }
    return true;
}

int AutoReleaseMsg::messageId() const
{
    return MessageIds::AutoReleaseMsg;
}

} // namespace Brindlecore::Core
