#pragma once

#include <QString>

// What one identification collects: the caller says whether a PIN is asked for and whether
// guests may print, the identification fills in the user ID and the PIN, and the caller reads
// them back.
class UserCredentials
{
public:
    bool pinRequired() const { return m_pinRequired; }
    void setPinRequired(bool required) { m_pinRequired = required; }
    bool guestsAllowed() const { return m_guestsAllowed; }
    void setGuestsAllowed(bool allowed) { m_guestsAllowed = allowed; }
    const QString &userId() const { return m_userId; }
    void setUserId(const QString &userId) { m_userId = userId; }
    const QString &pin() const { return m_pin; }
    void setPin(const QString &pin) { m_pin = pin; }

private:
    bool m_pinRequired = false;
    bool m_guestsAllowed = false;
    QString m_userId;
    QString m_pin;
};
