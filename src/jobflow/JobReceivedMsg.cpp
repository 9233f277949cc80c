#include "jobflow/JobReceivedMsg.h"

#include "protocol/MessageHandler.h"
#include "protocol/MessageIds.h"

namespace Brindlecore::Core {

namespace {

constexpr qsizetype FirstTaggedField = 2;

// A negative page count would slip under the page limit and lower the pages counted in the
// session, so the client reads it as none.
qint32 pageCount(const QString &value)
{
    return qMax(0, value.toInt(nullptr, 10));
}

} // namespace

JobReceivedMsg::JobReceivedMsg(std::unique_ptr<MessageHandler> handler,
                               UtilsLib::Observer *observer)
    : Message(std::move(handler), observer)
{}

QString JobReceivedMsg::formatBody() const
{
    return QString();
}

bool JobReceivedMsg::parse(const QString &text)
{
    // Empty fields are kept so that an empty timestamp does not move the first tagged field
    // into its place.
    const QStringList fields = text.split(u'|');
    bool isNumber = false;
    if (fields.at(0).toInt(&isNumber, 10) != MessageIds::JobReceivedMsg || !isNumber)
        return false;

    // Every text stands alone: a field it lacks must not show what an earlier job said.
    m_fields = Fields();

    // Field 1 is the timestamp, which the client does not use.
    for (qsizetype i = FirstTaggedField; i < fields.size(); ++i) {
        const QString &field = fields.at(i);
        if (field.isEmpty())
            continue;
        const QString value = field.mid(1);
        switch (field.at(0).unicode()) {
        case u'A':
            m_fields.totalPages = pageCount(value);
            break;
        case u'B':
            m_fields.price = value;
            break;
        case u'C':
            m_fields.freeCount = pageCount(value);
            break;
        case u'D':
            m_fields.userIdRequired = value.toInt() != 0;
            break;
        case u'E':
            m_fields.totalCost = value;
            break;
        case u'F':
            m_fields.accountText = value;
            break;
        case u'G':
            m_fields.free = value.toInt() != 0;
            break;
        case u'H':
            m_fields.totalSheets = pageCount(value);
            break;
        case u'I':
            m_fields.flagI = value.toInt() != 0;
            break;
        default:
            break;
        }
    }
    return true;
}

int JobReceivedMsg::messageId() const
{
    return MessageIds::JobReceivedMsg;
}

} // namespace Brindlecore::Core
