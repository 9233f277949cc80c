#include "i18n/PrintClientTranslator.h"

#include "core/BcHttpFactory.h"
#include "core/BcHttpInterface.h"
#include "core/LogSource.h"
#include "core/PrinterConnectorInterface.h"
#include "i18n/DialectCode.h"
#include "i18n/QmFile.h"
#include "i18n/SupportedLanguageDialects.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QTranslator>

using UtilsLib::LogInfo;
using UtilsLib::LogVerbose;
using UtilsLib::LogWarning;
using UtilsLib::TraceScope;

namespace {
const UtilsLib::LogSource Log(QStringLiteral("PrintClientTranslator"));
}

PrintClientTranslator::PrintClientTranslator(const QString &locale, UtilsLib::Observer *observer,
                                             const BcHttpFactory *httpFactory,
                                             const QString &applicationDirectory)
    : m_observer(observer)
    , m_locale(locale)
    , m_applicationDirectory(applicationDirectory.isEmpty() ? QCoreApplication::applicationDirPath()
                                                            : applicationDirectory)
    , m_httpFactory(httpFactory)
{
    addObserver(observer);
}

PrintClientTranslator::~PrintClientTranslator() = default;

void PrintClientTranslator::setPrinterConnector(PrinterConnectorInterface *connector)
{
    m_printerConnector = connector;
}

QString PrintClientTranslator::getLocale() const
{
    return m_locale;
}

void PrintClientTranslator::installDefaultTranslations()
{
    const TraceScope trace = Log.trace(this, "installDefaultTranslations");
    if (!DialectCode::isPlain(m_locale))
        return;
    // The toolkit's search also falls back from "fr_ca" to "fr"; files are named in lower case
    // while the Print Service may give the locale in upper case.
    auto translator = std::make_unique<QTranslator>();
    const QString folder = m_applicationDirectory + QStringLiteral("/languages");
    if (!translator->load(m_locale, folder) && !translator->load(m_locale.toLower(), folder))
        return;
    m_defaultTranslator = std::move(translator);
    Log(this, "installDefaultTranslations", LogVerbose,
        QStringLiteral("Installing default translator"));
    QCoreApplication::installTranslator(m_defaultTranslator.get());
    Log(this, "installDefaultTranslations", LogInfo,
        QStringLiteral("Default translator installed"));
}

void PrintClientTranslator::installOverrideTranslations(int overridePort)
{
    const TraceScope trace = Log.trace(this, "installOverrideTranslations");
    const QString address =
        m_printerConnector ? m_printerConnector->getPrintServiceForOndrelPrinter() : QString();
    if (address.isEmpty() || m_locale.isEmpty()) {
        Log(this, "installOverrideTranslations", LogWarning,
            QStringLiteral("Either printServiceAddress or locale is empty"));
        return;
    }
    // The port comes from the Print Service's settings, where 0 means it was never given.
    if (overridePort <= 0 || overridePort > 65535) {
        Log(this, "installOverrideTranslations", LogWarning,
            QStringLiteral("Override translation port %1 is not a port; no override translations "
                           "are downloaded")
                .arg(overridePort));
        return;
    }
    Log(this, "installOverrideTranslations", LogVerbose,
        QStringLiteral("Preparing to download override translator from Print Service at %1:%2")
            .arg(address)
            .arg(overridePort));
    // Downloaded aside: the installed override translator reads the previous bytes in place
    // until it is replaced.
    QByteArray data;
    if (!downloadOverrideTranslations(address, overridePort, data))
        return;
    auto translator = std::make_unique<QTranslator>();
    if (!QmFile::loadInto(*translator, data))
        return;
    m_overrideTranslator.reset();
    m_overrideData = data;
    m_overrideTranslator = std::move(translator);
    Log(this, "installOverrideTranslations", LogVerbose, QStringLiteral("Installing translator"));
    QCoreApplication::installTranslator(m_overrideTranslator.get());
    Log(this, "installOverrideTranslations", LogInfo, QStringLiteral("Translator installed"));
}

bool PrintClientTranslator::downloadOverrideTranslations(const QString &address, int port,
                                                         QByteArray &data)
{
    const TraceScope trace = Log.trace(this, "downloadOverrideTranslations");
    // The locale and the address come from the Print Service: only plain ones make an address.
    bool fetched = false;
    if (DialectCode::isPlain(m_locale) && !address.contains(u'/') && !address.contains(u'@')) {
        const QString url = QStringLiteral("http://%1:%2/languages/%3")
                                .arg(address)
                                .arg(port)
                                .arg(m_locale.toUpper() + QStringLiteral("_OVERRIDE.qm"));
        Log(this, "downloadOverrideTranslations", LogInfo,
            QStringLiteral("Attempting to retrieve override translations from %1").arg(url));
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadWrite);
        const std::unique_ptr<BcHttpInterface> http = m_httpFactory->create();
        http->setTimeout(DownloadTimeoutMs);
        fetched = http->get(url, &buffer);
    }
    Log(this, "downloadOverrideTranslations", LogInfo,
        QStringLiteral("Leaving downloadOverrideTranslations.  Returning %1")
            .arg(fetched ? QStringLiteral("true") : QStringLiteral("false")));
    return fetched;
}

void PrintClientTranslator::setLocale(const QString &newLocale, int overridePort)
{
    const TraceScope trace = Log.trace(this, "setLocale");
    Log(this, "setLocale", LogInfo,
        QStringLiteral("Current Locale=%1; new locale=%2").arg(m_locale, newLocale));
    if (newLocale == m_locale)
        return;
    m_locale = newLocale;
    removeOldTranslators();
    installDefaultTranslations();
    installOverrideTranslations(overridePort);
}

void PrintClientTranslator::installSupportedLanguageDialects(const QString &dialects)
{
    const TraceScope trace = Log.trace(this, "installSupportedLanguageDialects");
    Log(this, "installSupportedLanguageDialects", LogInfo,
        QStringLiteral("Supported dialects=%1").arg(dialects));
    SupportedLanguageDialects installation(m_observer, m_applicationDirectory);
    installation.install(dialects);
}

void PrintClientTranslator::removeOldTranslators()
{
    const TraceScope trace = Log.trace(this, "removeOldTranslators");
    // Destroying a translator takes it out of the application.
    m_defaultTranslator.reset();
    m_overrideTranslator.reset();
    m_overrideData.clear();
}
