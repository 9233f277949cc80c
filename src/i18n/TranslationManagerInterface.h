#pragma once

#include <QByteArray>
#include <QMap>
#include <QPair>
#include <QString>

// What one dialect's translation files say about their own language.
struct LanguageFileEntry
{
    QString languageName;
    QString changeLanguageText;
    QString closeLanguageOptionsText;
};

// (context, source text) -> (default translation, override translation), ordered by context
// and then source text.
using TranslationKey = QPair<QByteArray, QByteArray>;
using TranslationPair = QPair<QString, QString>;
using MasterTranslationContainer = QMap<TranslationKey, TranslationPair>;
// Dialect code in upper case -> what its files say about the language.
using DynamicLanguageMap = QMap<QString, LanguageFileEntry>;

// Knows the layout of the languages folder: each dialect's default file and the override file
// a site may add beside it.
class TranslationManagerInterface
{
public:
    virtual ~TranslationManagerInterface() = default;
    // Fills the master container from one dialect's default file and, when it exists, its
    // override file; empty names keep the files named before.
    virtual bool loadTranslationFiles(const QString &defaultFileName,
                                      const QString &overrideFileName) = 0;
    // Writes the container's override translations into the languages folder.
    virtual bool saveTranslationFile(const QString &fileName,
                                     const MasterTranslationContainer &container) = 0;
    virtual void setLangSubfolder(const QString &subfolder) = 0;
    virtual MasterTranslationContainer getMasterTranslationContainer() = 0;
    // Rescans the folder.
    virtual DynamicLanguageMap &getLanguageMap() = 0;
};
