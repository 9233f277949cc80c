#pragma once

#include <QString>

// Asks for a password; the caller judges what was typed.
class PasswordDialogInterface
{
public:
    virtual ~PasswordDialogInterface() = default;
    virtual QString password() const = 0;
    // Runs the dialog modally from empty fields; true when the user confirmed.
    virtual bool run() = 0;
};
