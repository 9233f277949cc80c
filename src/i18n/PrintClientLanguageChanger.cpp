#include "i18n/PrintClientLanguageChanger.h"

#include "core/BcHttpInterface.h"
#include "settings/OpcPreferences.h"

PrintClientLanguageChanger::PrintClientLanguageChanger(OpcPreferences *preferences,
                                                       std::unique_ptr<BcHttpInterface> http,
                                                       const QString &baseAddress,
                                                       UtilsLib::Observer *observer,
                                                       const QString &applicationDirectory)
    : LanguageChanger(std::move(http), baseAddress, observer, applicationDirectory)
    , m_preferences(preferences)
{}

int PrintClientLanguageChanger::changeLanguage(const QString &languageCode)
{
    const int result = LanguageChanger::changeLanguage(languageCode);
    // Recorded whatever the result: the Print Service is told the language the user asked for.
    if (m_preferences)
        m_preferences->setCurrentLocale(languageCode);
    return result;
}
