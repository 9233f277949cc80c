#pragma once

#include "core/BcHttpFactory.h"
#include "core/LogEvent.h"
#include "core/Observable.h"
#include "platform/BuildVersionInfo.h"
#include "platform/LinuxEnvironmentProvider.h"
#include "platform/LinuxProcessManager.h"
#include "printers/CupsPrinterConnector.h"
#include "settings/PrintClientPreferences.h"
#include "settings/Registry.h"
#include "settings/XmlPreferences.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

class ClientProcessingDialog;
class ConnectionDialogGuard;
class LanguageChanger;
class OpcMainWindow;
class OpcMainWindowController;
class OpcPageCountValidator;
class OpcPasswordDialog;
class OpcPasswordValidator;
class OpcConnection;
class OpcMessageDispatcher;
class PrintClientMessager;
class PrintClientRegistration;
class PrintClientTranslator;
class SettingsMsgHandler;
class SharedPrinterMappings;
class TvrSessionRegistry;
class UserSession;
namespace Brindlecore::Core {
class Message;
}
class TpcApplication;
class TpcTrayIcon;
class UnixSignalNotifier;

// The client's composition root: builds its objects in phases (logging, damaged files, start-up
// checks, the connection), runs the event loop and puts the workstation back in order however
// the session ends. Objects are built in the phase that first uses them and destroyed in
// reverse; the logger goes last, so every object can log until it is gone. One per process.
class ClientStartup
{
public:
    // argc must outlive this object (the application object keeps a reference to it).
    ClientStartup(int &argc, char **argv);
    ~ClientStartup();

    ClientStartup(const ClientStartup &) = delete;
    ClientStartup &operator=(const ClientStartup &) = delete;

    // The process's exit code.
    int run();

private:
    // Takes the logger out of the application context when everything else is gone.
    struct LoggerRelease
    {
        ~LoggerRelease();
    };
    // Resets what the dialogs share, which points to objects of this one, before the
    // application object goes.
    struct DialogSettingsRelease
    {
        ~DialogSettingsRelease();
    };

    void startLogging();
    void reportDamagedFiles();
    // An exit code when the client must not go on.
    std::optional<int> checkStartup();
    // The command line's locale, with the languages installed here offered until the Print
    // Service names its own.
    void installTranslations(const QString &locale);
    void connectToPrintService();
    // The handlers of what the Print Service sends, registered with the dispatcher.
    void registerHandlers();
    void addPrototype(std::unique_ptr<Brindlecore::Core::Message> prototype);
    void startLanguageChanger();
    // Puts the default printer back and removes the shared printers; runs once, whether the
    // event loop returned or the process is being ended from inside it.
    void restoreWorkstation();
    void log(UtilsLib::LogKind kind, const char *operation, const QString &text) const;

    int &m_argc;
    char **m_argv;
    LoggerRelease m_loggerRelease;
    UtilsLib::Registry m_registry;
    PrintClientPreferences m_clientPreferences;
    LinuxEnvironmentProvider m_environment;
    CupsPrinterConnector m_printerConnector;
    BuildVersionInfo m_versionInfo;
    LinuxProcessManager m_processManager;
    UtilsLib::XmlPreferences m_loggingPreferences;
    UtilsLib::Observable m_startupLog;
    UtilsLib::Observer *m_observer = nullptr;
    bool m_preferencesUnreadable = false;
    QString m_preferencesFile;
    std::unique_ptr<TpcApplication> m_application;
    DialogSettingsRelease m_dialogSettings;
    std::unique_ptr<UnixSignalNotifier> m_stopSignals;
    BcHttpFactory m_httpFactory;
    std::unique_ptr<PrintClientTranslator> m_translator;
    std::unique_ptr<SharedPrinterMappings> m_printerMappings;
    std::unique_ptr<OpcPasswordDialog> m_passwordDialog;
    std::unique_ptr<OpcPasswordValidator> m_passwordValidator;
    std::unique_ptr<OpcPageCountValidator> m_pageCountValidator;
    std::unique_ptr<OpcMessageDispatcher> m_dispatcher;
    std::unique_ptr<BcHttpInterface> m_sessionHttp;
    std::unique_ptr<TvrSessionRegistry> m_session;
    std::unique_ptr<ClientProcessingDialog> m_processingDialog;
    std::unique_ptr<UserSession> m_userSession;
    // The prototypes, in the order of their registration; each owns its handler.
    std::vector<std::unique_ptr<Brindlecore::Core::Message>> m_prototypes;
    SettingsMsgHandler *m_settingsHandler = nullptr;
    std::unique_ptr<LanguageChanger> m_languageChanger;
    QString m_locale;
    std::unique_ptr<OpcMainWindow> m_mainWindow;
    // A child of the main window.
    TpcTrayIcon *m_trayIcon = nullptr;
    std::unique_ptr<PrintClientMessager> m_messager;
    std::unique_ptr<PrintClientRegistration> m_registration;
    std::unique_ptr<OpcConnection> m_connection;
    std::unique_ptr<ConnectionDialogGuard> m_dialogGuard;
    std::unique_ptr<OpcMainWindowController> m_mainWindowController;
    bool m_restored = false;
};
