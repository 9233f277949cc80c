#include "protocol/Message.h"

#include "core/AppContext.h"
#include "core/JqeTimeSource.h"
#include "core/LogEvent.h"
#include "protocol/MessageHandler.h"
#include "protocol/SecretMasking.h"

namespace Brindlecore::Core {

namespace {

const QString Source = QStringLiteral("Message");
const QString HandleOrigin = QStringLiteral("Brindlecore::Core::Message::handle");

QString currentTimestamp()
{
    auto *timeSource =
        AppContext::instance().findEntryAs<TimeSourceInterface>(JqeTimeSource::EntryName);
    if (timeSource)
        return timeSource->timestamp();
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddhhmmss"));
}

} // namespace

Message::Message() = default;

Message::Message(std::unique_ptr<MessageHandler> handler, UtilsLib::Observer *observer)
    : m_handler(std::move(handler))
    , m_observer(observer)
{
    addObserver(observer);
}

Message::Message(const Message &other)
    : UtilsLib::Observable(other)
    , m_handler(other.m_handler ? other.m_handler->clone() : nullptr)
{}

Message::~Message() = default;

QString Message::handle(const QString &source, const QString &text)
{
    if (!m_handler) {
        UtilsLib::logEvent(this, Source, HandleOrigin, UtilsLib::LogApplication,
                           QStringLiteral("No handler configured"));
        return QString();
    }
    if (parse(text))
        return m_handler->handle(source, this);

    UtilsLib::logEvent(
        this, Source, HandleOrigin, UtilsLib::LogApplication,
        QStringLiteral("Received invalid message format from %1 (Invalid Message=%2)")
            .arg(source, maskSecretFields(text)));
    return QString();
}

QString Message::toWireText() const
{
    return QString::number(messageId()) + QLatin1Char('|') + currentTimestamp() + formatBody();
}

QStringList Message::splitFields(const QString &text)
{
    return text.split(QLatin1Char('|'), Qt::SkipEmptyParts);
}

} // namespace Brindlecore::Core
