#pragma once

#include "protocol/MessageHandler.h"

class ClientProcessingDialog;
class EnvironmentProvider;
class PageCountDialogModel;
class PageCountValidator;
class PrintClientPreferences;
class TvrSessionInfo;
class UserCredentials;
class UserSession;
struct DialogContext;

// Answers a job the user printed (id 4): the cost dialog, the session's page limit and, when the
// job needs it, the user's identification; then the print request (id 5) with the workstation
// and the language, or the cancel request (id 7).
class JobReceivedMsgHandler : public Brindlecore::Core::MessageHandler
{
public:
    // Nothing is owned; the session, the booking session and the progress window may be null.
    JobReceivedMsgHandler(int timeoutSeconds, PrintClientPreferences *preferences,
                          UserSession *session, TvrSessionInfo *booking,
                          ClientProcessingDialog *progress, PageCountValidator *pageValidator,
                          EnvironmentProvider *environment, UtilsLib::Observer *observer = nullptr);

    QString handle(const QString &source, Brindlecore::Core::Message *message) override;
    std::unique_ptr<Brindlecore::Core::MessageHandler> clone() const override;
    // True when the user confirmed the cost dialog.
    virtual bool userAcceptsPageCount(const DialogContext &context,
                                      const PageCountDialogModel &model);
    // True when an identity was obtained.
    virtual bool getUserId(UserCredentials &credentials);

private:
    void resetSessionIfInstalled();

    int m_timeoutSeconds;
    PrintClientPreferences *m_preferences;
    UserSession *m_session;
    TvrSessionInfo *m_booking;
    ClientProcessingDialog *m_progress;
    PageCountValidator *m_pageValidator;
    EnvironmentProvider *m_environment;
};
