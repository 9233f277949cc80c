#pragma once

#include "core/Observable.h"
#include "i18n/TranslationFileManager.h"
#include "ui/LanguageList.h"

namespace UtilsLib {
class Observer;
}

// Hands the dialogs the site's supported languages that have translation files here, each
// named in its own language. Built for one installation and dropped after it.
class SupportedLanguageDialects : public UtilsLib::Observable
{
public:
    explicit SupportedLanguageDialects(UtilsLib::Observer *observer,
                                       const QString &applicationDirectory = QString());

    // A comma-separated list of dialect codes, in the order the selector shows them.
    void install(const QString &dialects);

    const LanguageList &languageList() const { return m_languageList; }
    const LanguageMap &languageMap() const { return m_languageMap; }

private:
    TranslationFileManager m_fileManager;
    LanguageList m_languageList;
    LanguageMap m_languageMap;
};
