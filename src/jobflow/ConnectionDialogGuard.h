#pragma once

#include "protocol/ConnectionListenerInterface.h"
#include "protocol/MessageListenerInterface.h"

class ClientProcessingDialog;

// Keeps the job flow's windows to the connection whose text they answer. Every received text is
// handed on inside a dialog scope of its own; when the connection is lost, the dialogs of those
// scopes close as rejected (their answer could only be written on the lost connection) and the
// progress window goes, since nothing is processed for the user any more.
class ConnectionDialogGuard
    : public MessageListenerInterface
    , public ConnectionListenerInterface
{
public:
    // Neither is owned; the progress window may be null.
    ConnectionDialogGuard(MessageListenerInterface *receiver, ClientProcessingDialog *progress);

    void messageReceived(const QString &text) override;
    void connectionEstablished() override;
    void connectionLost() override;

private:
    MessageListenerInterface *m_receiver;
    ClientProcessingDialog *m_progress;
};
