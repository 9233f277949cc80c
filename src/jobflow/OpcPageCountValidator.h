#pragma once

#include "jobflow/PageCountValidator.h"

class MessageBoxInterface;
class PasswordValidator;
class PrintClientPreferences;
class TvrSessionInfo;

// The per-session page limit of a computer-booking session: a job that would take the session
// over the limit is refused, or let through with a staff member's password when the site
// allows it. Without a booking session or a limit every job passes.
class OpcPageCountValidator : public PageCountValidator
{
public:
    // Nothing is owned; without a message box each message gets a dialog of its own.
    OpcPageCountValidator(PrintClientPreferences *preferences, TvrSessionInfo *session,
                          PasswordValidator *staffPassword, MessageBoxInterface *messageBox);

    bool check(qint32 pages) override;

    static const char *const ErrorTitle;
    static const char *const RefusedText;
    static const char *const WarningTitle;
    static const char *const ApprovalText;

private:
    PrintClientPreferences *m_preferences;
    TvrSessionInfo *m_session;
    PasswordValidator *m_staffPassword;
    MessageBoxInterface *m_messageBox;
};
