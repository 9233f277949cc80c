#pragma once

#include "core/Observable.h"
#include "core/PcInfoProviderInterface.h"
#include "settings/TvrSessionInfo.h"

#include <QSettings>
#include <QString>
#include <QVariant>

#include <memory>

class BcHttpInterface;
class SystemNetInfo;

namespace UtilsLib {
class Observer;
class RegistryInterface;
} // namespace UtilsLib

// The booking session as the computer-booking product publishes it. Version 4 of that product
// answers through a web service on this machine; older versions leave the values in their
// per-user settings (on Linux ${XDG_CONFIG_HOME:-~/.config}/Tavrin/Interface Software.conf). The
// web service is asked first, twice at most, and the settings serve whatever it does not answer.
class TvrSessionRegistry
    : public TvrSessionInfo
    , public UtilsLib::Observable
{
public:
    static constexpr int DefaultPort = 4567;
    static constexpr int WebServiceTimeoutMs = 5000;
    static inline const QString UninstallKey =
        QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tavrin");
    static inline const QString Wow64UninstallKey = QStringLiteral(
        "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tavrin");

    // http is not owned and gets the web service's time-out. workstation names the machine
    // the web service is asked about; when it cannot, the name is left empty. machineRegistry
    // is read here only, connected to HKEY_LOCAL_MACHINE, to learn whether version 4 is
    // installed. Without a store the booking product's own per-user settings are read.
    TvrSessionRegistry(BcHttpInterface *http, UtilsLib::Observer *observer, int port,
                       std::unique_ptr<PcInfoProviderInterface> workstation,
                       UtilsLib::RegistryInterface *machineRegistry,
                       std::unique_ptr<QSettings> store = nullptr);
    ~TvrSessionRegistry() override;

    int pagesPrintedThisSession() override;
    bool isInSession() override;
    QString currentUser() override;
    QString currentPin() override;
    QString computerDescription(bool use) override;
    void addPagesPrinted(int pages) override;
    QString getLanguage() override;
    bool encryptPin() override;

private:
    QString userInputFromTavrinWebService(const QString &key, bool retry);
    // The value as the booking product's settings hold it now.
    QVariant setting(const QString &name) const;

    std::unique_ptr<QSettings> m_store;
    BcHttpInterface *m_http;
    int m_port;
    bool m_legacyMode = true;
    // Null when only the settings are read or the machine name was unreadable.
    std::unique_ptr<SystemNetInfo> m_workstation;
};
