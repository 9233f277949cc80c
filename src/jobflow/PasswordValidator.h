#pragma once

#include <QString>

// Decides whether a staff member approves an operation that needs the staff password.
class PasswordValidator
{
public:
    virtual ~PasswordValidator() = default;
    // True when approved against the configured staff password.
    virtual bool check(const QString &configuredPassword) = 0;
};
