#include "i18n/TranslationFileManager.h"

#include "core/LogSource.h"
#include "i18n/DialectCode.h"
#include "i18n/LanguageTags.h"
#include "i18n/QmFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTranslator>

using UtilsLib::LogError;
using UtilsLib::LogInfo;
using UtilsLib::LogVerbose;
using UtilsLib::LogWarning;
using UtilsLib::TraceScope;

namespace {

const UtilsLib::LogSource Log(QStringLiteral("TranslationFileManager"));
const QString OverrideMark = QStringLiteral("_OVERRIDE");
} // namespace

TranslationFileManager::TranslationFileManager(const QString &applicationDirectory)
    : m_applicationDirectory(applicationDirectory.isEmpty() ? QCoreApplication::applicationDirPath()
                                                            : applicationDirectory)
{
    setLangSubfolder(QStringLiteral("."));
}

TranslationFileManager::~TranslationFileManager() = default;

void TranslationFileManager::setLangSubfolder(const QString &subfolder)
{
    const TraceScope trace = Log.trace(this, "setLangSubfolder");
    // Cleaned, so the paths in the log read as an administrator would type them.
    m_languageFolder = QDir::cleanPath(
        QStringLiteral("%1/languages/%2")
            .arg(m_applicationDirectory, subfolder.isEmpty() ? QStringLiteral(".") : subfolder));
}

bool TranslationFileManager::verifyFolderAndFiles(const QString &defaultFileName,
                                                  const QString &overrideFileName)
{
    const TraceScope trace = Log.trace(this, "verifyFolderAndFiles");
    if (!defaultFileName.isEmpty())
        m_defaultFilePath = QStringLiteral("%1/%2").arg(m_languageFolder, defaultFileName);
    if (!overrideFileName.isEmpty())
        m_overrideFilePath = QStringLiteral("%1/%2").arg(m_languageFolder, overrideFileName);
    return QFileInfo(m_languageFolder).isDir();
}

QString TranslationFileManager::resolveQmPath(const QString &path)
{
    const TraceScope trace = Log.trace(this, "resolveQmPath");
    return QFileInfo::exists(path) ? path : path + QStringLiteral(".qm");
}

bool TranslationFileManager::loadFile(const char *operation, const QString &path, bool asOverride)
{
    const QString kind = asOverride ? QStringLiteral("override") : QStringLiteral("default");
    const std::optional<QByteArray> bytes = QmFile::readFile(path);
    if (!bytes) {
        Log(this, operation, LogWarning,
            QStringLiteral("Failed to open %1 transaltion file (%2)").arg(kind, path));
        return false;
    }
    Log(this, operation, LogInfo,
        QStringLiteral("Successfully opened %1 transaltion file (%2)").arg(kind, path));
    // The toolkit decides what counts as a translation file; the messages are listed from the
    // same bytes, which the toolkit cannot do.
    QTranslator translator;
    const std::optional<QList<QmMessage>> messages = QmFile::read(*bytes);
    if (!messages || !QmFile::loadInto(translator, *bytes)) {
        Log(this, operation, LogWarning, QStringLiteral("Failed to load %1 translator").arg(kind));
        return false;
    }
    Log(this, operation, LogInfo, QStringLiteral("Successfully loaded %1 translator").arg(kind));
    for (const QmMessage &message : *messages) {
        TranslationPair &value = m_masterTranslations[{message.context, message.sourceText}];
        if (asOverride) {
            value.second = message.translations.value(0);
        } else {
            value.first = message.translations.value(0);
            value.second = QString();
        }
    }
    return true;
}

bool TranslationFileManager::loadDefaultFile()
{
    const TraceScope trace = Log.trace(this, "loadDefaultFile");
    return loadFile("loadDefaultFile", resolveQmPath(m_defaultFilePath), false);
}

bool TranslationFileManager::loadOverrideFile()
{
    const TraceScope trace = Log.trace(this, "loadOverrideFile");
    return loadFile("loadOverrideFile", resolveQmPath(m_overrideFilePath), true);
}

bool TranslationFileManager::loadTranslationFiles(const QString &defaultFileName,
                                                  const QString &overrideFileName)
{
    const TraceScope trace = Log.trace(this, "loadTranslationFiles");
    m_masterTranslations.clear();
    if (!verifyFolderAndFiles(defaultFileName, overrideFileName))
        return false;
    if (!loadDefaultFile())
        return false;
    if (!m_overrideFilePath.isEmpty() && QFileInfo::exists(m_overrideFilePath))
        return loadOverrideFile();
    return true;
}

MasterTranslationContainer TranslationFileManager::getMasterTranslationContainer()
{
    const TraceScope trace = Log.trace(this, "getMasterTranslationContainer");
    return m_masterTranslations;
}

bool TranslationFileManager::saveTranslationFile(const QString &fileName,
                                                 const MasterTranslationContainer &container)
{
    const TraceScope trace = Log.trace(this, "saveTranslationFile");
    // The name is joined into a path: a name that leaves the folder is not written.
    if (fileName.isEmpty() || fileName.contains(u'/') || fileName == QLatin1String("..") ||
        fileName == QLatin1String("."))
        return false;
    QList<QmMessage> messages;
    for (auto it = container.cbegin(); it != container.cend(); ++it) {
        if (!it.value().second.isEmpty())
            messages.append({it.key().first, it.key().second, QByteArray(), {it.value().second}});
    }
    // Written whole or not at all: a translator may be reading the file this replaces.
    QSaveFile file(QStringLiteral("%1/%2").arg(m_languageFolder, fileName));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QmFile::write(messages));
    return file.commit();
}

bool TranslationFileManager::verfiyTranslationFileExistsForDialect(const QString &dialect)
{
    const TraceScope trace = Log.trace(this, "verfiyTranslationFileExistsForDialect");
    return !DialectCode::existingFile(m_applicationDirectory + QStringLiteral("/languages"),
                                      dialect, QStringLiteral(".qm"))
                .isEmpty();
}

bool TranslationFileManager::loadTagTranslator(QTranslator &translator, QByteArray &bytes,
                                               const QString &path, const QString &kind)
{
    const std::optional<QByteArray> read = path.isEmpty() ? std::nullopt : QmFile::readFile(path);
    if (!read) {
        Log(this, "getLanguageMap", LogWarning,
            QStringLiteral("Failed to open %1 translation file.  Check to ensure the file exists "
                           "(%2)")
                .arg(kind, path));
        return false;
    }
    Log(this, "getLanguageMap", LogInfo,
        QStringLiteral("Attempting to load %1 translation file (%2)").arg(kind, path));
    bytes = *read;
    return QmFile::loadInto(translator, bytes);
}

QStringList TranslationFileManager::installedDialects() const
{
    QStringList dialects;
    const QStringList names =
        QDir(m_languageFolder).entryList({QStringLiteral("*.qm")}, QDir::Files, QDir::Name);
    for (const QString &name : names) {
        const QString dialect = name.chopped(3);
        if (!name.contains(OverrideMark) && DialectCode::isPlain(dialect))
            dialects.append(dialect);
    }
    return dialects;
}

DynamicLanguageMap &TranslationFileManager::getLanguageMap()
{
    const TraceScope trace = Log.trace(this, "getLanguageMap");
    const QDir folder(m_languageFolder);
    m_languageMap.clear();
    for (QString dialect : installedDialects()) {
        const QString name = dialect + QStringLiteral(".qm");
        // Downloaded override files carry the code in upper case, the build's files lower case.
        QString overridePath =
            QStringLiteral("%1/%2%3.qm").arg(folder.path(), dialect, OverrideMark);
        const QString upperPath =
            QStringLiteral("%1/%2%3.qm").arg(folder.path(), dialect.toUpper(), OverrideMark);
        if (!QFileInfo::exists(overridePath) && QFileInfo::exists(upperPath))
            overridePath = upperPath;
        // A translator reads its bytes in place: they outlive it.
        QByteArray overrideBytes;
        QByteArray defaultBytes;
        QTranslator overrides;
        QTranslator defaults;
        loadTagTranslator(overrides, overrideBytes, overridePath, QStringLiteral("override"));
        if (!loadTagTranslator(defaults, defaultBytes,
                               QStringLiteral("%1/%2").arg(folder.path(), name),
                               QStringLiteral("default"))) {
            Log(this, "getLanguageMap", LogError,
                QStringLiteral("Failed to load language tags for %1").arg(dialect));
            continue;
        }
        dialect = dialect.toUpper();
        const auto tag = [&](const char *sourceText) {
            const QString text = overrides.translate(LanguageTags::Context, sourceText);
            return text.isEmpty() ? defaults.translate(LanguageTags::Context, sourceText) : text;
        };
        const LanguageFileEntry entry{tag(LanguageTags::LanguageName),
                                      tag(LanguageTags::ChangeLanguage),
                                      tag(LanguageTags::CloseLanguageOptions)};
        Log(this, "getLanguageMap", LogInfo,
            QStringLiteral("Inserting language entry in dynamic langauge map: %1, %2")
                .arg(dialect, entry.languageName));
        m_languageMap.insert(dialect, entry);
        Log(this, "getLanguageMap", LogVerbose,
            QStringLiteral("Loaded language tags for %1").arg(dialect));
    }
    return m_languageMap;
}
