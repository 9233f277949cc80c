#pragma once

#include "protocol/MessageHandler.h"

class LanguageChangerInterface;
class PrintClientPreferences;
class PrintClientTranslatorInterface;
class PrinterConnectorInterface;
class RegistrationListenerInterface;
class TvrSessionInfo;

// Applies the Print Service's settings (id 58): stores them in the client's preferences and the
// session file, applies the language, sets the default printer, tells the registration
// listener and answers with the locale in force. GUI thread only.
class SettingsMsgHandler : public Brindlecore::Core::MessageHandler
{
public:
    // None of the collaborators is owned; clones share them.
    SettingsMsgHandler(PrintClientPreferences *preferences, TvrSessionInfo *session,
                       PrinterConnectorInterface *printerConnector,
                       PrintClientTranslatorInterface *translator,
                       UtilsLib::Observer *observer = nullptr);

    QString handle(const QString &source, Brindlecore::Core::Message *message) override;
    std::unique_ptr<Brindlecore::Core::MessageHandler> clone() const override;

    // May be null (a client without a tray icon).
    void setRegistrationListener(RegistrationListenerInterface *listener);
    void setLanguageChanger(LanguageChangerInterface *changer);

    // The site's override texts are in force for the whole process: the start-up sets it when
    // its own language change brought them, and the handler applies them at most once.
    static bool overridesApplied();
    static void setOverridesApplied(bool applied);

private:
    void applyLanguages();
    void applyLocale(int overridePort);

    PrintClientPreferences *m_preferences;
    TvrSessionInfo *m_session;
    PrinterConnectorInterface *m_printerConnector;
    PrintClientTranslatorInterface *m_translator;
    RegistrationListenerInterface *m_registrationListener = nullptr;
    LanguageChangerInterface *m_languageChanger = nullptr;
    // The configured locale applies only with the first settings of the process.
    bool m_localeApplied = false;
};
