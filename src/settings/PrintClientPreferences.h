#pragma once

#include "settings/OpcPreferences.h"

namespace UtilsLib {
class RegistryInterface;
}

// The client's one settings object: filled by each settings message, read by the handlers and
// dialogs. Only the staff password outlives the process, scrambled in the per-user session
// file, and only on an installed client. The registry is not owned.
class PrintClientPreferences : public OpcPreferences
{
public:
    static inline const QString DefaultStaffPassword = QStringLiteral("pelbrostagin");
    static inline const QString UninstallKey =
        QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ondclient");
    static inline const QString InstallLocationValue = QStringLiteral("InstallLocation");
    static constexpr int InstallLocationMaxBytes = 256;
    // A session file holds one short text; anything larger is not one of ours.
    static constexpr qint64 MaximumSessionFileSize = 64 * 1024;

    // Connects the registry to HKEY_LOCAL_MACHINE.
    explicit PrintClientPreferences(UtilsLib::RegistryInterface *registry);
    ~PrintClientPreferences() override;

    PrintClientPreferences(const PrintClientPreferences &) = delete;
    PrintClientPreferences &operator=(const PrintClientPreferences &) = delete;

    // True when the installer's uninstall entry has an "InstallLocation" value.
    virtual bool isInstalled() const;
    // Writes the staff password to the session file, on an installed client only. A failure
    // leaves the previous file as it was and is not reported.
    virtual void saveSession();
    virtual bool isSessionPersistent() const;

    virtual QString staffPassword() const;
    virtual void setStaffPassword(const QString &password);
    virtual bool tavrinIntegration() const;
    virtual void setTavrinIntegration(bool enabled);
    // 0 means no limit.
    virtual int maxSessionPages() const;
    // A negative number stores 0.
    virtual void setMaxSessionPages(int pages);
    virtual bool staffApprovesOverLimit() const;
    virtual void setStaffApprovesOverLimit(bool approves);
    virtual bool useSessionCredentials() const;
    virtual void setUseSessionCredentials(bool use);
    virtual bool maskUserId() const;
    virtual void setMaskUserId(bool mask);
    virtual bool useSessionPcDescription() const;
    virtual void setUseSessionPcDescription(bool use);
    virtual QString userIdFile() const;
    virtual void setUserIdFile(const QString &path);
    virtual bool useSessionLanguage() const;
    virtual void setUseSessionLanguage(bool use);
    virtual int numberN() const;
    virtual void setNumberN(int number);

    // Restores the staff password of the previous run. False, with the password unchanged,
    // when the folder or file is missing, unreadable or not a session file.
    bool loadSession();

    // "<home>/.ondTpc" and the file in it.
    static QString sessionFolder();
    static QString sessionFilePath();

private:
    UtilsLib::RegistryInterface *m_registry;
    QString m_staffPassword = DefaultStaffPassword;
    bool m_tavrinIntegration = false;
    int m_maxSessionPages = 0;
    bool m_staffApprovesOverLimit = false;
    bool m_useSessionCredentials = false;
    bool m_maskUserId = false;
    bool m_useSessionPcDescription = false;
    QString m_userIdFile;
    bool m_useSessionLanguage = false;
    int m_numberN = 0;
};
