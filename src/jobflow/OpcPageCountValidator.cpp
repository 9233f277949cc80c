#include "jobflow/OpcPageCountValidator.h"

#include "jobflow/MessageBoxLease.h"
#include "jobflow/PasswordValidator.h"
#include "settings/PrintClientPreferences.h"
#include "settings/TvrSessionInfo.h"
#include "ui/MessageBoxInterface.h"

#include <algorithm>

// Keys of the message box, which translates them in "CommonDialogMessages".
const char *const OpcPageCountValidator::ErrorTitle =
    QT_TRANSLATE_NOOP("CommonDialogMessages", "Error");
const char *const OpcPageCountValidator::RefusedText = QT_TRANSLATE_NOOP(
    "CommonDialogMessages",
    "The printing of your document is being cancelled because you have reached the maximum "
    "pages allowed per session.\nPlease contact a staff member for details.");
const char *const OpcPageCountValidator::WarningTitle =
    QT_TRANSLATE_NOOP("CommonDialogMessages", "Warning");
const char *const OpcPageCountValidator::ApprovalText = QT_TRANSLATE_NOOP(
    "CommonDialogMessages",
    "The printing of your document will take you over the maximum pages allowed per session.\n"
    "You will need approval from a staff member to carry out this operation.");

OpcPageCountValidator::OpcPageCountValidator(PrintClientPreferences *preferences,
                                             TvrSessionInfo *session,
                                             PasswordValidator *staffPassword,
                                             MessageBoxInterface *messageBox)
    : m_preferences(preferences)
    , m_session(session)
    , m_staffPassword(staffPassword)
    , m_messageBox(messageBox)
{}

bool OpcPageCountValidator::check(qint32 pages)
{
    if (!m_preferences || !m_session || !m_preferences->tavrinIntegration() ||
        !m_session->isInSession())
        return true;
    const int maximum = m_preferences->maxSessionPages();
    if (maximum <= 0)
        return true;
    // Counts from the wire and the booking product: never negative, added without overflow.
    const qint64 total =
        qint64(std::max(m_session->pagesPrintedThisSession(), 0)) + std::max(pages, 0);
    if (total <= maximum)
        return true;
    const MessageBoxLease box(m_messageBox);
    if (m_preferences->staffApprovesOverLimit()) {
        box->warning(QString::fromUtf8(WarningTitle), QString::fromUtf8(ApprovalText));
        if (m_staffPassword && m_staffPassword->check(m_preferences->staffPassword()))
            return true;
    }
    box->critical(QString::fromUtf8(ErrorTitle), QString::fromUtf8(RefusedText));
    return false;
}
