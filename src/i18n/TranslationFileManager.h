#pragma once

#include "core/Observable.h"
#include "i18n/TranslationManagerInterface.h"

class QTranslator;

// The languages folder beside the program: "<dialect>.qm" holds a dialect's translations and
// "<DIALECT>_OVERRIDE.qm" beside it a site's replacements. Builds the map of the languages
// there, loads one dialect's pair into a master container and writes override files back.
// GUI thread only.
class TranslationFileManager
    : public UtilsLib::Observable
    , public TranslationManagerInterface
{
public:
    // An empty applicationDirectory means the program's own folder.
    explicit TranslationFileManager(const QString &applicationDirectory = QString());
    ~TranslationFileManager() override;

    bool loadTranslationFiles(const QString &defaultFileName,
                              const QString &overrideFileName) override;
    bool saveTranslationFile(const QString &fileName,
                             const MasterTranslationContainer &container) override;
    void setLangSubfolder(const QString &subfolder) override;
    MasterTranslationContainer getMasterTranslationContainer() override;
    DynamicLanguageMap &getLanguageMap() override;
    // Whether the top languages folder (not the subfolder) has a file for the dialect.
    virtual bool verfiyTranslationFileExistsForDialect(const QString &dialect);

    // The dialects with a default file in the language folder, by name; nothing is logged.
    QStringList installedDialects() const;

private:
    bool verifyFolderAndFiles(const QString &defaultFileName, const QString &overrideFileName);
    QString resolveQmPath(const QString &path);
    bool loadDefaultFile();
    bool loadOverrideFile();
    // Reads one file into the container: as default translations (clearing earlier overrides
    // of the same texts) or as override translations.
    bool loadFile(const char *operation, const QString &path, bool asOverride);
    // Opens and loads a translator from a whole file, logging as the language map does.
    // The bytes are kept in the caller's array, which must outlive the translator.
    bool loadTagTranslator(QTranslator &translator, QByteArray &bytes, const QString &path,
                           const QString &kind);

    MasterTranslationContainer m_masterTranslations;
    QString m_defaultFilePath;
    QString m_overrideFilePath;
    QString m_languageFolder;
    DynamicLanguageMap m_languageMap;
    QString m_applicationDirectory;
};
