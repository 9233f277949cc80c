#include "jobflow/AuthenticateResultMsg.h"

#include "protocol/MessageHandler.h"
#include "protocol/MessageIds.h"

namespace Brindlecore::Core {

namespace {

constexpr qsizetype MinimumFields = 6;
constexpr qsizetype FirstBodyField = 3;

} // namespace

AuthenticateResultMsg::AuthenticateResultMsg(std::unique_ptr<MessageHandler> handler,
                                             UtilsLib::Observer *observer)
    : Message(std::move(handler), observer)
{}

QString AuthenticateResultMsg::formatBody() const
{
    // Only ever received; the placeholder marks that the client never sends it.
    return QStringLiteral("Not Used");
}

bool AuthenticateResultMsg::parse(const QString &text)
{
    const QStringList fields = splitFields(text);
    bool isNumber = false;
    if (fields.size() < MinimumFields ||
        fields.at(0).toUInt(&isNumber) != static_cast<uint>(MessageIds::AuthenticateResultMsg) ||
        !isNumber)
        return false;

    // Every text stands alone: a balance or flag it lacks must not show what an earlier
    // user's answer said.
    m_fields = Fields();

    // Field 1 is the timestamp, which the client does not use.
    m_fields.resultCode = fields.at(2).toInt();
    if (m_fields.resultCode != Accepted) {
        m_fields.errorCaption = fields.at(FirstBodyField).mid(1);
        m_fields.errorText = fields.at(FirstBodyField + 1).mid(1);
        m_fields.acknowledgementWanted = fields.at(FirstBodyField + 2).mid(1).toInt() != 0;
        return true;
    }

    for (qsizetype i = FirstBodyField; i < fields.size(); ++i) {
        const QString value = fields.at(i).mid(1);
        switch (fields.at(i).at(0).unicode()) {
        case u'F':
            m_fields.allocationBalance = value;
            break;
        case u'N':
            m_fields.allocationMarker = value;
            break;
        case u'G':
            m_fields.depositBalance = value;
            break;
        case u'H':
            m_fields.maxDepositBalance = value;
            break;
        case u'I':
            m_fields.creditBalance = value;
            break;
        case u'J':
            m_fields.maxCreditBalance = value;
            break;
        case u'P':
            m_fields.libraryDepositBalance = value;
            break;
        case u'K':
            m_fields.depositExpired = value.toInt() != 0;
            break;
        case u'L':
            m_fields.creditExpired = value.toInt() != 0;
            break;
        case u'O':
            m_fields.acknowledgementWanted = value.toInt() != 0;
            break;
        case u'Q':
            m_fields.libraryDepositShown = value.toInt() != 0;
            break;
        default:
            break;
        }
    }
    return true;
}

int AuthenticateResultMsg::messageId() const
{
    return MessageIds::AuthenticateResultMsg;
}

} // namespace Brindlecore::Core
