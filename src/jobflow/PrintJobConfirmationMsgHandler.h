#pragma once

#include "protocol/MessageHandler.h"

class ClientProcessingDialog;
class PrintClientPreferences;
class TvrSessionInfo;
class UserSession;

// The Print Service took the job (id 6): its pages are counted into the booking session, the
// progress window goes and, when asked, "Print Complete" shows where to pick the job up. Always
// ends the session.
class PrintJobConfirmationMsgHandler : public Brindlecore::Core::MessageHandler
{
public:
    // Nothing is owned; all but the preferences may be null.
    PrintJobConfirmationMsgHandler(PrintClientPreferences *preferences, UserSession *session,
                                   TvrSessionInfo *booking, ClientProcessingDialog *progress,
                                   UtilsLib::Observer *observer = nullptr);

    QString handle(const QString &source, Brindlecore::Core::Message *message) override;
    std::unique_ptr<Brindlecore::Core::MessageHandler> clone() const override;

private:
    PrintClientPreferences *m_preferences;
    UserSession *m_session;
    TvrSessionInfo *m_booking;
    ClientProcessingDialog *m_progress;
};
