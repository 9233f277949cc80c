#pragma once

#include <QString>

namespace Brindlecore::Qt {

// The texts and pictures with which a caller describes a dialog: translation keys for the
// caption and the two buttons, picture paths (empty means the dialog's own default) and the
// inactivity time-out in seconds.
class CommonDlgInfo
{
public:
    static constexpr int DefaultTimeoutSeconds = 45;

    CommonDlgInfo() = default;
    CommonDlgInfo(const QString &button1TextKey, const QString &button2TextKey,
                  const QString &logoPath, const QString &captionKey);
    virtual ~CommonDlgInfo() = default;
    CommonDlgInfo(const CommonDlgInfo &) = default;
    CommonDlgInfo &operator=(const CommonDlgInfo &) = default;

    QString captionKey() const { return m_captionKey; }
    void setCaptionKey(const QString &key) { m_captionKey = key; }
    // Button 1 confirms, button 2 cancels.
    QString button1TextKey() const { return m_button1TextKey; }
    void setButton1TextKey(const QString &key) { m_button1TextKey = key; }
    QString button2TextKey() const { return m_button2TextKey; }
    void setButton2TextKey(const QString &key) { m_button2TextKey = key; }
    QString logoPath() const { return m_logoPath; }
    void setLogoPath(const QString &path) { m_logoPath = path; }
    QString button1ImagePath() const { return m_button1ImagePath; }
    void setButton1ImagePath(const QString &path) { m_button1ImagePath = path; }
    QString button1DisabledImagePath() const { return m_button1DisabledImagePath; }
    void setButton1DisabledImagePath(const QString &path) { m_button1DisabledImagePath = path; }
    QString button2ImagePath() const { return m_button2ImagePath; }
    void setButton2ImagePath(const QString &path) { m_button2ImagePath = path; }
    int timeout() const { return m_timeout; }
    void setTimeout(int seconds) { m_timeout = seconds; }

private:
    QString m_captionKey;
    QString m_button1TextKey;
    QString m_button2TextKey;
    QString m_logoPath;
    QString m_button1ImagePath;
    QString m_button1DisabledImagePath;
    QString m_button2ImagePath;
    int m_timeout = 0;
};

} // namespace Brindlecore::Qt
