#pragma once

#include "ui/CommonDlgInfo.h"

// What a password dialog shows: on top of the common texts and pictures an optional heading,
// the password prompt, an optional preset password, translation contexts of its own, the
// staff ID and reason fields, and the on-screen keypad type.
class PasswordDlgInfo : public Brindlecore::Qt::CommonDlgInfo
{
public:
    PasswordDlgInfo(const QString &captionKey, const QString &okTextKey,
                    const QString &cancelTextKey, const QString &logoPath,
                    const QString &promptKey);

    QString headingKey() const { return m_headingKey; }
    void setHeadingKey(const QString &key) { m_headingKey = key; }
    QString promptKey() const { return m_promptKey; }
    void setPromptKey(const QString &key) { m_promptKey = key; }
    // When non-empty the password field shows it and cannot be edited.
    QString presetPassword() const { return m_presetPassword; }
    void setPresetPassword(const QString &password) { m_presetPassword = password; }
    // Translation context of caption, prompt and heading; empty means "PasswordDialog".
    QString textContext() const { return m_textContext; }
    void setTextContext(const QString &context) { m_textContext = context; }
    // Translation context of the two button texts; empty means "PasswordDialog".
    QString buttonContext() const { return m_buttonContext; }
    void setButtonContext(const QString &context) { m_buttonContext = context; }
    bool showStaffId() const { return m_showStaffId; }
    void setShowStaffId(bool show) { m_showStaffId = show; }
    bool showReason() const { return m_showReason; }
    void setShowReason(bool show) { m_showReason = show; }
    // 0 no keypad, 1 full keyboard, other values the numeric pad.
    int keypadType() const { return m_keypadType; }
    void setKeypadType(int type) { m_keypadType = type; }

private:
    QString m_headingKey;
    QString m_promptKey;
    QString m_presetPassword;
    QString m_textContext;
    QString m_buttonContext;
    bool m_showStaffId = false;
    bool m_showReason = false;
    int m_keypadType = 0;
};
