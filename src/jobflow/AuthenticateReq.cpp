#include "jobflow/AuthenticateReq.h"

#include "protocol/MessageHandler.h"
#include "protocol/MessageIds.h"

namespace Brindlecore::Core {

namespace {

constexpr qsizetype FieldCount = 3;

} // namespace

AuthenticateReq::AuthenticateReq(std::unique_ptr<MessageHandler> handler,
                                 UtilsLib::Observer *observer)
    : Message(std::move(handler), observer)
{}

QString AuthenticateReq::formatBody() const
{
    return QString();
}

bool AuthenticateReq::parse(const QString &text)
{
    const QStringList fields = splitFields(text);
    if (fields.size() != FieldCount)
        return false;
    // A mode that is not a number reads as 0, which asks for a PIN and allows no guests.
    m_mode = fields.at(2).toInt();
    return true;
}

int AuthenticateReq::messageId() const
{
    return MessageIds::AuthenticateReq;
}

bool AuthenticateReq::requiresPin(qint32 mode)
{
    return mode != 1 && mode != 5;
}

bool AuthenticateReq::guestsAllowed(qint32 mode)
{
    return mode == 5 || mode == 7;
}

} // namespace Brindlecore::Core
