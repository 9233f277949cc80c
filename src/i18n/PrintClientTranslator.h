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

    // The factory (not owned) makes the downloader of each override file; an empty
    // applicationDirectory means the program's own folder.
    PrintClientTranslator(const QString &locale, UtilsLib::Observer *observer,
                          const BcHttpFactory *httpFactory,
                          const QString &applicationDirectory = QString());
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
    const BcHttpFactory *m_httpFactory;
};
