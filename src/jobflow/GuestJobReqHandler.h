#pragma once

#include "protocol/MessageHandler.h"

class ClientProcessingDialog;
class MessageBoxInterface;
class PrintClientPreferences;
class UserSession;

// Asks a user whose identification the Print Service refused whether the job may go on as a
// guest job (id 52) and answers 1 for Yes, 0 otherwise. On an installed client a No forgets the
// user, so that the next job asks who is printing.
class GuestJobReqHandler : public Brindlecore::Core::MessageHandler
{
public:
    // Nothing is owned; the message box, the session and the progress window may be null
    // (without a message box each question gets a dialog of its own).
    GuestJobReqHandler(PrintClientPreferences *preferences, UserSession *session,
                       MessageBoxInterface *messageBox, ClientProcessingDialog *progress,
                       UtilsLib::Observer *observer = nullptr);

    QString handle(const QString &source, Brindlecore::Core::Message *message) override;
    std::unique_ptr<Brindlecore::Core::MessageHandler> clone() const override;

    static const char *const Caption;
    static const char *const Question;

private:
    PrintClientPreferences *m_preferences;
    UserSession *m_session;
    MessageBoxInterface *m_messageBox;
    ClientProcessingDialog *m_progress;
};
