#pragma once

#include "jobflow/PasswordValidator.h"

class PasswordDialogInterface;

// Approves when no staff password is configured, otherwise only when the password dialog is
// confirmed with exactly the configured password (case-sensitive, the whole text).
class OpcPasswordValidator : public PasswordValidator
{
public:
    // The dialog is not owned.
    explicit OpcPasswordValidator(PasswordDialogInterface *dialog);

    bool check(const QString &configuredPassword) override;

private:
    PasswordDialogInterface *m_dialog;
};
