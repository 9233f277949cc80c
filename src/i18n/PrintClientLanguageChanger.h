#pragma once

#include "i18n/LanguageChanger.h"

class OpcPreferences;

// The client's language changer: also records each code it is asked for as the language last
// applied, which print requests report to the Print Service.
class PrintClientLanguageChanger : public LanguageChanger
{
public:
    // The preferences are not owned.
    PrintClientLanguageChanger(OpcPreferences *preferences, std::unique_ptr<BcHttpInterface> http,
                               const QString &baseAddress, UtilsLib::Observer *observer,
                               const QString &applicationDirectory = QString());

    int changeLanguage(const QString &languageCode) override;

private:
    OpcPreferences *m_preferences;
};
