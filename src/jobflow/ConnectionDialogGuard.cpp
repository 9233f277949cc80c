#include "jobflow/ConnectionDialogGuard.h"

#include "jobflow/ClientProcessingDialog.h"
#include "ui/DialogRunScope.h"

ConnectionDialogGuard::ConnectionDialogGuard(MessageListenerInterface *receiver,
                                             ClientProcessingDialog *progress)
    : m_receiver(receiver)
    , m_progress(progress)
{}

void ConnectionDialogGuard::messageReceived(const QString &text)
{
    const DialogRunScope scope;
    if (m_receiver)
        m_receiver->messageReceived(text);
}

void ConnectionDialogGuard::connectionEstablished() {}

void ConnectionDialogGuard::connectionLost()
{
    if (m_progress)
        m_progress->hide();
    DialogRunScope::closeAll();
}
