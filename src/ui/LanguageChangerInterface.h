#pragma once

#include <QString>

// Switches the whole client to another language at run time (the dialogs call it when the
// user picks a language from their list).
class LanguageChangerInterface
{
public:
    virtual ~LanguageChangerInterface() = default;
    // 0 means the switch was refused and nothing changed; any other value means the dialogs
    // must show their texts again.
    virtual int changeLanguage(const QString &languageCode) = 0;
};
