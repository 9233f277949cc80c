#pragma once

#include "protocol/MessageHandler.h"

class ClientProcessingDialog;
class PrintClientPreferences;
class TvrSessionInfo;
class UserCredentials;
class UserSession;

// Answers the Print Service's request to identify the user (id 54) with the user ID and, when
// the request's mode needs one, the encoded PIN (id 55), or cancels the job when the user
// cancels (id 7). An identity the session already holds answers at once when it satisfies the
// request.
class AuthenticateReqHandler : public Brindlecore::Core::MessageHandler
{
public:
    // Nothing is owned; the session, the booking session and the progress window may be null.
    AuthenticateReqHandler(PrintClientPreferences *preferences, UserSession *session,
                           TvrSessionInfo *booking, ClientProcessingDialog *progress,
                           UtilsLib::Observer *observer = nullptr);

    QString handle(const QString &source, Brindlecore::Core::Message *message) override;
    std::unique_ptr<Brindlecore::Core::MessageHandler> clone() const override;
    // Fills the credentials from the session, the automatic sources or the dialog; false when
    // the user cancelled.
    virtual bool getUserId(UserCredentials &credentials);

private:
    PrintClientPreferences *m_preferences;
    UserSession *m_session;
    TvrSessionInfo *m_booking;
    ClientProcessingDialog *m_progress;
};
