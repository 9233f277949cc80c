#pragma once

#include "protocol/MessageHandler.h"

class ClientProcessingDialog;
class MessageBoxInterface;

// Tells the user that the Print Service deleted the job (id 51) and ends the session.
class JobDeletedMsgHandler : public Brindlecore::Core::MessageHandler
{
public:
    // Nothing is owned; both may be null (without a message box each notice gets a dialog of
    // its own).
    JobDeletedMsgHandler(MessageBoxInterface *messageBox, ClientProcessingDialog *progress,
                         UtilsLib::Observer *observer = nullptr);

    QString handle(const QString &source, Brindlecore::Core::Message *message) override;
    std::unique_ptr<Brindlecore::Core::MessageHandler> clone() const override;

    static const char *const Caption;
    static const char *const Text;

private:
    MessageBoxInterface *m_messageBox;
    ClientProcessingDialog *m_progress;
};
