#include "protocol/OpcConnection.h"

#include "core/LogEvent.h"
#include "protocol/MessageClientInterface.h"
#include "protocol/OpcMessageDispatcherInterface.h"
#include "protocol/SecretMasking.h"

using Brindlecore::Core::maskSecretFields;
using UtilsLib::logEvent;

namespace {

const QString Source = QStringLiteral("OpcConnection");
const QString ReceivedOrigin = QStringLiteral("OpcConnection::messageReceived");
const QString PrintServiceSource = QStringLiteral("Print Service");

} // namespace

OpcConnection::OpcConnection(OpcMessageDispatcherInterface *dispatcher,
                             MessageClientInterface *messageClient, UtilsLib::Observer *observer)
    : m_dispatcher(dispatcher)
    , m_messageClient(messageClient)
{
    addObserver(observer);
}

void OpcConnection::messageReceived(const QString &text)
{
    UtilsLib::TraceScope trace(this, Source, ReceivedOrigin);
    logEvent(this, Source, ReceivedOrigin, UtilsLib::LogInfo,
             [&] { return QStringLiteral("Recevied: ") + maskSecretFields(text); });
    const QString reply =
        m_dispatcher ? m_dispatcher->dispatch(PrintServiceSource, text) : QString();
    // A failed write has already scheduled a reconnection; the reply is not kept.
    if (m_messageClient)
        m_messageClient->sendMessage(reply);
    logEvent(this, Source, ReceivedOrigin, UtilsLib::LogInfo,
             [&] { return QStringLiteral("Sent: ") + maskSecretFields(reply); });
}
