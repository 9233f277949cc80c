#pragma once

#include "protocol/MessageHandler.h"

class ClientProcessingDialog;
class MessageBoxInterface;
class UserSession;

// Takes the Print Service's verdict on an identification (id 56): an accepted user's account
// figures go into the session; a refusal is shown with the Print Service's own caption and text
// and the session forgets who the user is.
class AuthenticateResultMsgHandler : public Brindlecore::Core::MessageHandler
{
public:
    // Nothing is owned; each may be null (without a message box a refusal gets a dialog of its
    // own).
    AuthenticateResultMsgHandler(UserSession *session, ClientProcessingDialog *progress,
                                 MessageBoxInterface *messageBox,
                                 UtilsLib::Observer *observer = nullptr);

    QString handle(const QString &source, Brindlecore::Core::Message *message) override;
    std::unique_ptr<Brindlecore::Core::MessageHandler> clone() const override;

private:
    UserSession *m_session;
    ClientProcessingDialog *m_progress;
    MessageBoxInterface *m_messageBox;
};
