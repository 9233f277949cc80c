#include "protocol/PrintClientRegistration.h"

#include "core/EnvironmentProvider.h"
#include "protocol/FieldList.h"
#include "protocol/MessageClientInterface.h"

PrintClientRegistration::PrintClientRegistration(MessageClientInterface *messageClient,
                                                 const EnvironmentProvider *environmentProvider)
    : m_messageClient(messageClient)
    , m_environmentProvider(environmentProvider)
{}

QString PrintClientRegistration::registrationText(const QString &userName,
                                                  const QString &computerName)
{
    return Brindlecore::Core::encodeFieldList({QStringLiteral("register"), userName, computerName});
}

void PrintClientRegistration::connectionEstablished()
{
    if (!m_messageClient)
        return;
    // Asked on every connection, so a change of logon is picked up.
    const QString user = m_environmentProvider ? m_environmentProvider->userName() : QString();
    const QString computer =
        m_environmentProvider ? m_environmentProvider->computerName() : QString();
    // A failed write schedules a reconnection, and the next connection registers again.
    m_messageClient->sendMessage(registrationText(user, computer));
}

void PrintClientRegistration::connectionLost() {}
