#pragma once

#include "protocol/ConnectionListenerInterface.h"

#include <QString>

class EnvironmentProvider;
class MessageClientInterface;

// Introduces the client on every new connection with the registration text, the escaped
// list ("register", user name, computer name). Added as the first connection listener, so
// that text is the first thing written on each connection. It keeps no state.
class PrintClientRegistration : public ConnectionListenerInterface
{
public:
    // Neither collaborator is owned.
    PrintClientRegistration(MessageClientInterface *messageClient,
                            const EnvironmentProvider *environmentProvider);

    // Names that cannot be read are sent as empty elements, which keeps the text well formed.
    static QString registrationText(const QString &userName, const QString &computerName);

    void connectionEstablished() override;
    void connectionLost() override;

private:
    MessageClientInterface *m_messageClient;
    const EnvironmentProvider *m_environmentProvider;
};
