#include "jobflow/OpcPasswordValidator.h"

#include "ui/PasswordDialogInterface.h"

OpcPasswordValidator::OpcPasswordValidator(PasswordDialogInterface *dialog)
    : m_dialog(dialog)
{}

bool OpcPasswordValidator::check(const QString &configuredPassword)
{
    if (configuredPassword.isEmpty())
        return true;
    return m_dialog && m_dialog->run() && m_dialog->password() == configuredPassword;
}
