#include "i18n/LanguageChanger.h"

#include "core/BcHttpInterface.h"
#include "core/LogSource.h"
#include "i18n/DialectCode.h"
#include "i18n/LanguageTags.h"
#include "i18n/QmFile.h"
#include "ui/DialogSettings.h"

#include <QBuffer>
#include <QCursor>
#include <QGuiApplication>
#include <QLocale>
#include <QTranslator>

using UtilsLib::LogInfo;
using UtilsLib::LogVerbose;
using UtilsLib::LogWarning;
using UtilsLib::TraceScope;

namespace {

const UtilsLib::LogSource Log(QStringLiteral("LanguageChanger"));

// The wait cursor for as long as a change runs, whichever way it ends.
class WaitCursor
{
public:
    WaitCursor()
        : m_shown(qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr)
    {
        if (m_shown)
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
    ~WaitCursor()
    {
        if (m_shown)
            QGuiApplication::restoreOverrideCursor();
    }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;

private:
    bool m_shown;
};

std::unique_ptr<QTranslator> loadTranslator(const QByteArray &bytes)
{
    auto translator = std::make_unique<QTranslator>();
    if (!QmFile::loadInto(*translator, bytes))
        return nullptr;
    return translator;
}

} // namespace

LanguageChanger::LanguageChanger(std::unique_ptr<BcHttpInterface> http, const QString &baseAddress,
                                 UtilsLib::Observer *observer, const QString &applicationDirectory)
    : m_http(std::move(http))
    , m_baseAddress(baseAddress)
    , m_applicationDirectory(applicationDirectory.isEmpty() ? QCoreApplication::applicationDirPath()
                                                            : applicationDirectory)
{
    addObserver(observer);
}

LanguageChanger::~LanguageChanger() = default;

int LanguageChanger::changeLanguage(const QString &languageCode)
{
    const TraceScope trace = Log.trace(this, "changeLanguage");
    // The download's wait lets the dialogs run, and a dialog may ask for another language
    // meanwhile: that second change would replace bytes the first is still reading.
    if (m_changing) {
        Log(this, "changeLanguage", LogWarning,
            QStringLiteral("Refused to change the language to %1 while another change runs")
                .arg(languageCode));
        return NothingChanged;
    }
    m_changing = true;
    const WaitCursor waitCursor;
    const int result = switchLanguage(languageCode);
    m_changing = false;
    return result;
}

int LanguageChanger::switchLanguage(const QString &languageCode)
{
    const QString requested =
        QStringLiteral("%1/languages/%2.qm").arg(m_applicationDirectory, languageCode);
    // A code that is not plain never becomes a path: it is treated like a missing file.
    const QString path = DialectCode::existingFile(
        m_applicationDirectory + QStringLiteral("/languages"), languageCode, QStringLiteral(".qm"));
    const std::optional<QByteArray> defaultData =
        path.isEmpty() ? std::nullopt : QmFile::readFile(path);
    if (!defaultData) {
        Log(this, "changeLanguage", LogWarning,
            QStringLiteral("Default language file could not be opened.  Check to ensure the file "
                           "(%1) exists")
                .arg(path.isEmpty() ? requested : path));
        return NothingChanged;
    }
    Log(this, "changeLanguage", LogInfo,
        QStringLiteral("Verified translation file (%1)").arg(path));
    std::unique_ptr<QTranslator> defaultTranslator = loadTranslator(*defaultData);
    if (!defaultTranslator) {
        Log(this, "changeLanguage", LogWarning,
            QStringLiteral("Failed to load translation file (%1)").arg(path));
        return NothingChanged;
    }
    Log(this, "changeLanguage", LogInfo, QStringLiteral("Loaded translation file (%1)").arg(path));
    if (m_defaultTranslator) {
        Log(this, "changeLanguage", LogInfo,
            QStringLiteral("Removing existing default translator"));
        m_defaultTranslator.reset();
    }
    m_defaultData = *defaultData;
    m_defaultTranslator = std::move(defaultTranslator);
    Log(this, "changeLanguage", LogInfo, QStringLiteral("Installing default translator"));
    QCoreApplication::installTranslator(m_defaultTranslator.get());
    Log(this, "changeLanguage", LogInfo, QStringLiteral("Install default translator complete"));
    // Amounts the client writes itself follow the language the user reads.
    QLocale::setDefault(QLocale(languageCode.section(u'_', 0, 0).toLower() + u'_' +
                                languageCode.section(u'_', 1).toUpper()));

    // The old override translator goes before its bytes are replaced.
    if (m_overrideTranslator) {
        Log(this, "changeLanguage", LogInfo,
            QStringLiteral("Removing existing override translator"));
        m_overrideTranslator.reset();
    }
    m_overrideData.clear();
    Log(this, "changeLanguage", LogInfo, QStringLiteral("opening overrideWrapper buffer"));
    QBuffer overrideWrapper(&m_overrideData);
    overrideWrapper.open(QIODevice::ReadWrite);
    const QString address = QStringLiteral("%1/%2_OVERRIDE.qm").arg(m_baseAddress, languageCode);
    Log(this, "changeLanguage", LogInfo, QStringLiteral("retrieving override translations"));
    if (!m_http || !m_http->get(address, &overrideWrapper)) {
        Log(this, "changeLanguage", LogWarning,
            QStringLiteral("Failed to retrieve override translations from %1").arg(address));
        m_overrideData.clear();
        return DefaultOnly;
    }
    Log(this, "changeLanguage", LogInfo,
        QStringLiteral("Retrieved override translations from %1").arg(address));
    std::unique_ptr<QTranslator> overrideTranslator = loadTranslator(m_overrideData);
    if (!overrideTranslator) {
        Log(this, "changeLanguage", LogWarning,
            QStringLiteral("Failed to install override translations"));
        m_overrideData.clear();
        return DefaultOnly;
    }
    Log(this, "changeLanguage", LogInfo, QStringLiteral("Installing override translator"));
    m_overrideTranslator = std::move(overrideTranslator);
    QCoreApplication::installTranslator(m_overrideTranslator.get());

    const QString name =
        m_overrideTranslator->translate(LanguageTags::Context, LanguageTags::LanguageName);
    const QString closeText =
        m_overrideTranslator->translate(LanguageTags::Context, LanguageTags::CloseLanguageOptions);
    if (!name.isEmpty() || !closeText.isEmpty()) {
        Log(this, "changeLanguage", LogVerbose,
            QStringLiteral("Using overrides for language name and/or close language options ([%1], "
                           "[%2])")
                .arg(name, closeText));
        DialogSettings::shared().updateLanguageEntry(languageCode, name, closeText);
    }
    return DefaultAndOverride;
}
