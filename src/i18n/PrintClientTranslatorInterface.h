#pragma once

#include <QString>

// Applies the configured language: the dialect's translation file from the languages folder
// and the site's override file from the Print Service, and tells the dialogs which languages
// the site supports.
class PrintClientTranslatorInterface
{
public:
    virtual ~PrintClientTranslatorInterface() = default;
    virtual void installDefaultTranslations() = 0;
    virtual void installOverrideTranslations(int overridePort) = 0;
    virtual QString getLocale() const = 0;
    // A locale equal to the current one changes nothing.
    virtual void setLocale(const QString &newLocale, int overridePort) = 0;
    // A comma-separated list of dialect codes.
    virtual void installSupportedLanguageDialects(const QString &dialects) = 0;
    virtual void removeOldTranslators() = 0;
};
