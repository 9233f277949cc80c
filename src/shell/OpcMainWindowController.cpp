#include "shell/OpcMainWindowController.h"

#include "jobflow/MessageBoxLease.h"
#include "jobflow/PasswordValidator.h"
#include "settings/PrintClientPreferences.h"
#include "shell/OpcMainWindowInterface.h"
#include "ui/MessageBoxInterface.h"

// Keys of the message box, which translates them in "CommonDialogMessages".
const char *const OpcMainWindowController::RefusedTitle =
    QT_TRANSLATE_NOOP("CommonDialogMessages", "Password Required");
const char *const OpcMainWindowController::RefusedText = QT_TRANSLATE_NOOP(
    "CommonDialogMessages", "The staff password was not correct. The Print Client keeps running.");

OpcMainWindowController::OpcMainWindowController(OpcMainWindowInterface *window,
                                                 PasswordValidator *validator,
                                                 PrintClientPreferences *preferences,
                                                 MessageBoxInterface *messageBox)
    : m_window(window)
    , m_validator(validator)
    , m_preferences(preferences)
    , m_messageBox(messageBox)
{
    if (m_window)
        m_window->setController(this);
}

bool OpcMainWindowController::requiresPassword()
{
    return m_preferences && m_preferences->isInstalled();
}

bool OpcMainWindowController::requestStop()
{
    if (!requiresPassword())
        return true;
    if (m_validator && m_validator->check(m_preferences->staffPassword()))
        return true;
    // Cancel and a wrong password look alike to the validator; either way the client stays,
    // and the person who tried is told so.
    const MessageBoxLease box(m_messageBox);
    box->warning(QString::fromUtf8(RefusedTitle), QString::fromUtf8(RefusedText));
    return false;
}
