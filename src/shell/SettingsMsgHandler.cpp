#include "shell/SettingsMsgHandler.h"

#include "core/LogSource.h"
#include "core/PrinterConnectorInterface.h"
#include "i18n/PrintClientTranslatorInterface.h"
#include "protocol/RegistrationListenerInterface.h"
#include "protocol/SettingsResponseMsg.h"
#include "settings/PrintClientPreferences.h"
#include "settings/TvrSessionInfo.h"
#include "shell/SettingsMsg.h"
#include "ui/LanguageChangerInterface.h"

using Brindlecore::Core::Message;
using Brindlecore::Core::SettingsMsg;
using UtilsLib::LogInfo;
using UtilsLib::LogVerbose;
using UtilsLib::LogWarning;

namespace {

const UtilsLib::LogSource Log(QStringLiteral("SettingsMsgHandler"));
bool s_overridesApplied = false;

QString flag(bool value)
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

SettingsMsgHandler::SettingsMsgHandler(PrintClientPreferences *preferences, TvrSessionInfo *session,
                                       PrinterConnectorInterface *printerConnector,
                                       PrintClientTranslatorInterface *translator,
                                       UtilsLib::Observer *observer)
    : MessageHandler(observer)
    , m_preferences(preferences)
    , m_session(session)
    , m_printerConnector(printerConnector)
    , m_translator(translator)
{}

std::unique_ptr<Brindlecore::Core::MessageHandler> SettingsMsgHandler::clone() const
{
    return std::make_unique<SettingsMsgHandler>(*this);
}

void SettingsMsgHandler::setRegistrationListener(RegistrationListenerInterface *listener)
{
    m_registrationListener = listener;
}

void SettingsMsgHandler::setLanguageChanger(LanguageChangerInterface *changer)
{
    m_languageChanger = changer;
}

bool SettingsMsgHandler::overridesApplied()
{
    return s_overridesApplied;
}

void SettingsMsgHandler::setOverridesApplied(bool applied)
{
    s_overridesApplied = applied;
}

QString SettingsMsgHandler::handle(const QString &, Message *message)
{
    const auto trace = Log.trace(this, "handle");
    const auto *settings = dynamic_cast<const SettingsMsg *>(message);
    if (!settings) {
        Log(this, "handle", LogWarning, QStringLiteral("Message is NULL"));
        return QString();
    }
    Log(this, "handle", LogVerbose, QStringLiteral("After check for null message"));

    PrintClientPreferences &preferences = *m_preferences;
    preferences.setStaffPassword(settings->staffPassword());
    preferences.setTavrinIntegration(settings->tavrinIntegration());
    preferences.setMaxSessionPages(settings->maxSessionPages());
    preferences.setStaffApprovesOverLimit(settings->staffApprovesOverLimit());
    preferences.setUseSessionCredentials(settings->useSessionCredentials());
    preferences.setNumberN(settings->numberN());
    preferences.setMaskUserId(settings->maskUserId());
    preferences.setUseSessionPcDescription(settings->useSessionPcDescription());
    preferences.saveSession();
    preferences.setUserIdFile(settings->userIdFile());
    preferences.setUseSessionLanguage(settings->useSessionLanguage());
    preferences.setDynamicLanguageEnabled(settings->dynamicLanguageEnabled());
    preferences.setSupportedDialects(settings->supportedDialects());
    preferences.setLocale(settings->locale());
    preferences.setUserIdFilter(settings->userIdFilterEnabled(),
                                settings->userIdFilterExceptions());
    preferences.setPinFilter(settings->pinFilterEnabled(), settings->pinFilterExceptions());
    Log(this, "handle", LogVerbose, QStringLiteral("After preferences assigned"));
    Log(this, "handle", LogVerbose,
        QStringLiteral("User Id Input Filter Enabled: %1 (Exceptions: %2)")
            .arg(flag(preferences.userIdFilterEnabled()), preferences.userIdFilterExceptions()));
    Log(this, "handle", LogVerbose,
        QStringLiteral("User Pin Input Filter Enabled: %1 (Exceptions: %2)")
            .arg(flag(preferences.pinFilterEnabled()), preferences.pinFilterExceptions()));

    applyLanguages();
    applyLocale(settings->overrideTranslationPort());

    Log(this, "handle", LogInfo,
        QStringLiteral("Setting default printer to %1").arg(settings->defaultPrinter()));
    if (m_printerConnector)
        m_printerConnector->setDefaultPrinter(settings->defaultPrinter());
    Log(this, "handle", LogVerbose, QStringLiteral("Default printer set"));

    if (m_registrationListener) {
        Log(this, "handle", LogVerbose,
            QStringLiteral("Telling registration listener that registration is complete"));
        m_registrationListener->registrationComplete();
        Log(this, "handle", LogVerbose,
            QStringLiteral("Finished telling registration listener that registration is complete"));
    }

    const QString reply =
        Brindlecore::Core::SettingsResponseMsg(m_translator ? m_translator->getLocale() : QString())
            .toWireText();
    Log(this, "handle", LogInfo, QStringLiteral("Response=%1").arg(reply));
    return reply;
}

void SettingsMsgHandler::applyLanguages()
{
    const PrintClientPreferences &preferences = *m_preferences;
    const QString dialects = preferences.supportedDialects();
    if (preferences.dynamicLanguageEnabled() ||
        (preferences.tavrinIntegration() && preferences.useSessionLanguage())) {
        Log(this, "handle", LogVerbose,
            QStringLiteral("In Dynamic Language Switching handler.  Supported dialects=%1")
                .arg(dialects));
        if (m_translator)
            m_translator->installSupportedLanguageDialects(dialects);
        if (m_languageChanger) {
            // Each dialect's override may rename it in the language list. The changer records
            // every code it applies, so the language in force is taken before and applied last.
            const QString current = preferences.currentLocale();
            for (const QString &dialect : dialects.split(u',', Qt::SkipEmptyParts))
                m_languageChanger->changeLanguage(dialect.trimmed().toUpper());
            m_languageChanger->changeLanguage(current.toUpper());
        }
        Log(this, "handle", LogVerbose,
            QStringLiteral("Leaving Dynamic Language Switching handler"));
    } else if (!s_overridesApplied) {
        Log(this, "handle", LogVerbose, QStringLiteral("Applying language overrides"));
        if (m_languageChanger)
            m_languageChanger->changeLanguage(preferences.currentLocale());
        s_overridesApplied = true;
    }
}

void SettingsMsgHandler::applyLocale(int overridePort)
{
    PrintClientPreferences &preferences = *m_preferences;
    if (preferences.tavrinIntegration() && m_session && m_session->isInSession() &&
        preferences.useSessionLanguage()) {
        Log(this, "handle", LogVerbose, QStringLiteral("In Tavrin Integration handler"));
        const QString language = m_session->getLanguage();
        // An empty language is contained in every list, and would drop every translation.
        if (language.isEmpty() ||
            !preferences.supportedDialects().toLower().contains(language.toLower())) {
            Log(this, "handle", LogWarning,
                QStringLiteral("Tavrin language (%1) is not supported by Ondrel").arg(language));
            return;
        }
        Log(this, "handle", LogInfo, QStringLiteral("Setting locale to %1").arg(language));
        if (m_translator)
            m_translator->setLocale(language, overridePort);
        preferences.setCurrentLocale(language);
        Log(this, "handle", LogVerbose, QStringLiteral("Leaving Tavrin Integration handler"));
    } else if (!m_localeApplied) {
        Log(this, "handle", LogVerbose, QStringLiteral("In Set Locale handler"));
        const QString locale = preferences.locale();
        Log(this, "handle", LogInfo, QStringLiteral("Setting locale to %1").arg(locale));
        if (m_translator)
            m_translator->setLocale(locale, overridePort);
        preferences.setCurrentLocale(locale);
        Log(this, "handle", LogVerbose, QStringLiteral("Leaving Set Locale handler"));
        m_localeApplied = true;
    }
}
