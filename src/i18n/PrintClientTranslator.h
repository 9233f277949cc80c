#pragma once

#include "core/Observable.h"
#include "i18n/PrintClientTranslatorInterface.h"

#include <QByteArray>

#include <memory>

class BcHttpFactory;
class PrinterConnectorInterface;
class QTranslator;

namespace UtilsLib {
class Observer;
}

// The configured locale's pair of translators. Created at start-up for the command-line locale;
// the settings from the Print Service change the locale and the supported dialects later.
// GUI thread only.
class PrintClientTranslator
    : public PrintClientTranslatorInterface
    , public UtilsLib::Observable
{
public:
    static constexpr int DownloadTimeoutMs = 30000;

    // An empty applicationDirectory means the program's own folder; a null factory makes the
    // real downloads.
    PrintClientTranslator(const QString &locale, UtilsLib::Observer *observer,
                          const QString &applicationDirectory = QString(),
                          const BcHttpFactory *httpFactory = nullptr);
    ~PrintClientTranslator() override;

    // Not owned; the source of the Print Service's address.
    void setPrinterConnector(PrinterConnectorInterface *connector);

    void installDefaultTranslations() override;
    void installOverrideTranslations(int overridePort) override;
    QString getLocale() const override;
    void setLocale(const QString &newLocale, int overridePort) override;
    void installSupportedLanguageDialects(const QString &dialects) override;
    void removeOldTranslators() override;

    // Fetches "<LOCALE>_OVERRIDE.qm" from the Print Service into data; true when it arrived.
    bool downloadOverrideTranslations(const QString &address, int port, QByteArray &data);

private:
    UtilsLib::Observer *m_observer;
    PrinterConnectorInterface *m_printerConnector = nullptr;
    QString m_locale;
    std::unique_ptr<QTranslator> m_defaultTranslator;
    std::unique_ptr<QTranslator> m_overrideTranslator;
    // The override translator reads these bytes in place.
    QByteArray m_overrideData;
    QString m_applicationDirectory;
    std::unique_ptr<BcHttpFactory> m_ownHttpFactory;
    const BcHttpFactory *m_httpFactory;
};
