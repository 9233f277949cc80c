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
    const quint64 connection = m_messageClient ? m_messageClient->connectionNumber() : 0;
    const QString reply =
        m_dispatcher ? m_dispatcher->dispatch(PrintServiceSource, text) : QString();
    // A handler may wait for the user while the connection is lost (and made again); on a new
    // connection its reply would answer a question the Print Service never asked there.
    if (m_messageClient && m_messageClient->connectionNumber() != connection) {
        logEvent(this, Source, ReceivedOrigin, UtilsLib::LogWarning, [&] {
            return QStringLiteral("Dropped: %1 (the connection of the text it answers was lost)")
                .arg(maskSecretFields(reply));
        });
        return;
    }
    // A failed write has already scheduled a reconnection; the reply is not kept.
    if (m_messageClient)
        m_messageClient->sendMessage(reply);
    logEvent(this, Source, ReceivedOrigin, UtilsLib::LogInfo,
             [&] { return QStringLiteral("Sent: ") + maskSecretFields(reply); });
}
