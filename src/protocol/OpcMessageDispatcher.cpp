#include "protocol/OpcMessageDispatcher.h"

#include "core/LogEvent.h"
#include "protocol/Message.h"
#include "protocol/NoResponse.h"
#include "protocol/SecretMasking.h"

using Brindlecore::Core::maskSecretFields;
using UtilsLib::logEvent;

namespace {

const QString Source = QStringLiteral("OpcMessageDispatcher");
const QString DispatchOrigin = QStringLiteral("OpcMessageDispatcher::dispatch");

} // namespace

OpcMessageDispatcher::OpcMessageDispatcher(UtilsLib::Observer *observer)
{
    addObserver(observer);
}

QString OpcMessageDispatcher::dispatch(const QString &source, const QString &text)
{
    UtilsLib::TraceScope trace(this, Source, DispatchOrigin);
    logEvent(this, Source, DispatchOrigin, UtilsLib::LogInfo,
             [&] { return QStringLiteral("Message to dispatch=") + maskSecretFields(text); });

    if (text == Brindlecore::Core::NO_RESPONSE) {
        logEvent(this, Source, DispatchOrigin, UtilsLib::LogWarning,
                 QStringLiteral("Message is NO_RESPONSE"));
        return text;
    }
    logEvent(this, Source, DispatchOrigin, UtilsLib::LogVerbose,
             QStringLiteral("After check for NO_RESPONSE"));

    const QString notHandled = QStringLiteral("Message Not Handled: ") + text;
    const qsizetype separator = text.indexOf(QLatin1Char('|'));
    if (separator < 0) {
        logEvent(this, Source, DispatchOrigin, UtilsLib::LogWarning,
                 QStringLiteral("Message is malformed"));
        return notHandled;
    }
    logEvent(this, Source, DispatchOrigin, UtilsLib::LogVerbose,
             QStringLiteral("After check for Message Not Handled"));

    // A piece that is no decimal number reads as 0, which is never registered.
    const qint32 id = QStringView(text).first(separator).toInt();
    Brindlecore::Core::Message *message = prototype(id);
    if (!message) {
        logEvent(this, Source, DispatchOrigin, UtilsLib::LogWarning,
                 QStringLiteral("Message does not have a message id"));
        return notHandled;
    }
    logEvent(this, Source, DispatchOrigin, UtilsLib::LogVerbose,
             QStringLiteral("After check for Message id"));
    logEvent(this, Source, DispatchOrigin, UtilsLib::LogVerbose,
             QStringLiteral("Attempting to handle message"));

    const QString reply = message->handle(source, text);
    logEvent(this, Source, DispatchOrigin, UtilsLib::LogInfo, [&] {
        return QStringLiteral("Message handled.  Returning: ") + maskSecretFields(reply);
    });
    return reply;
}
