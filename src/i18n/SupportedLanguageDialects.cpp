#include "i18n/SupportedLanguageDialects.h"

#include "core/LogSource.h"
#include "ui/DialogSettings.h"

using UtilsLib::LogInfo;
using UtilsLib::LogVerbose;
using UtilsLib::TraceScope;

namespace {
const UtilsLib::LogSource Log(QStringLiteral("SupportedLanguageDialects"));
}

SupportedLanguageDialects::SupportedLanguageDialects(UtilsLib::Observer *observer,
                                                     const QString &applicationDirectory)
    : m_fileManager(applicationDirectory)
{
    addObserver(observer);
    m_fileManager.addObserver(observer);
}

void SupportedLanguageDialects::install(const QString &dialects)
{
    const TraceScope trace = Log.trace(this, "install");
    Log(this, "install", LogVerbose, QStringLiteral("Supported dialects=%1").arg(dialects));
    m_languageMap.clear();
    m_languageList.clear();
    const DynamicLanguageMap &files = m_fileManager.getLanguageMap();
    const QStringList codes = dialects.toUpper().trimmed().split(u',', Qt::SkipEmptyParts);
    for (QString code : codes) {
        // Blanks after the commas are common in what administrators type.
        code = code.trimmed();
        // A dialect named twice would show twice in the list but once in the map.
        if (code.isEmpty() || m_languageMap.contains(code))
            continue;
        Log(this, "install", LogInfo,
            QStringLiteral("Checking for translation file for dialect %1").arg(code));
        if (!m_fileManager.verfiyTranslationFileExistsForDialect(code))
            continue;
        Log(this, "install", LogInfo,
            QStringLiteral("Found translation file for dialect %1").arg(code));
        const LanguageFileEntry entry = files.value(code);
        if (entry.languageName.isEmpty())
            continue;
        Log(this, "install", LogVerbose,
            QStringLiteral("Adding change language translation data for dialect %1 ([%2], [%3])")
                .arg(code, entry.languageName, entry.closeLanguageOptionsText));
        m_languageList.append({entry.languageName, entry.closeLanguageOptionsText});
        m_languageMap.insert(code, entry.languageName);
    }
    DialogSettings &settings = DialogSettings::shared();
    if (!m_languageList.isEmpty()) {
        Log(this, "install", LogVerbose, QStringLiteral("Setting language list on BcBaseDialog"));
        settings.setLanguageList(m_languageList);
    }
    if (!m_languageMap.isEmpty()) {
        Log(this, "install", LogVerbose, QStringLiteral("Setting language map on BcBaseDialog"));
        settings.setLanguageMap(m_languageMap);
    }
}
