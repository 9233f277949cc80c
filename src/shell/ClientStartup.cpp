#include "shell/ClientStartup.h"

#include "core/AppContext.h"
#include "core/AppFolders.h"
#include "core/CommandLine.h"
#include "core/JqeTimeSource.h"
#include "core/LogEvent.h"
#include "i18n/PrintClientLanguageChanger.h"
#include "i18n/PrintClientTranslator.h"
#include "i18n/TranslationFileManager.h"
#include "jobflow/AuthenticateReq.h"
#include "jobflow/AuthenticateReqHandler.h"
#include "jobflow/AuthenticateResultMsg.h"
#include "jobflow/AuthenticateResultMsgHandler.h"
#include "jobflow/AutoReleaseMsg.h"
#include "jobflow/AutoReleaseMsgHandler.h"
#include "jobflow/ClientProcessingDialog.h"
#include "jobflow/ConnectionDialogGuard.h"
#include "jobflow/GuestJobReq.h"
#include "jobflow/GuestJobReqHandler.h"
#include "jobflow/JobDeletedMsg.h"
#include "jobflow/JobDeletedMsgHandler.h"
#include "jobflow/JobReceivedMsg.h"
#include "jobflow/JobReceivedMsgHandler.h"
#include "jobflow/OpcPageCountValidator.h"
#include "jobflow/OpcPasswordValidator.h"
#include "jobflow/PrintJobConfirmationMsg.h"
#include "jobflow/PrintJobConfirmationMsgHandler.h"
#include "jobflow/ShowSpoolingDialogMsg.h"
#include "jobflow/ShowSpoolingDialogMsgHandler.h"
#include "jobflow/UserSession.h"
#include "platform/PcInfoProvider.h"
#include "platform/UnixSignalNotifier.h"
#include "printers/SharedPrinterMappings.h"
#include "protocol/MessageIds.h"
#include "protocol/OpcConnection.h"
#include "protocol/OpcMessageDispatcher.h"
#include "protocol/PrintClientMessager.h"
#include "protocol/PrintClientRegistration.h"
#include "settings/TvrSessionRegistry.h"
#include "shell/LogFolder.h"
#include "shell/ObserverManager.h"
#include "shell/OpcMainWindow.h"
#include "shell/OpcMainWindowController.h"
#include "shell/PrintClientUpdateMsg.h"
#include "shell/PrintClientUpdateMsgHandler.h"
#include "shell/SettingsMsg.h"
#include "shell/SettingsMsgHandler.h"
#include "shell/TpcApplication.h"
#include "shell/TpcTrayIcon.h"
#include "ui/DialogSettings.h"
#include "ui/OpcPasswordDialog.h"
#include "ui/PasswordDlgInfo.h"
#include "ui/PrintClientDialog.h"

#include <QFileInfo>
#include <QSystemTrayIcon>

#include <csignal>
#include <cstdio>
#include <cstdlib>

using Brindlecore::Core::AppContext;

namespace {

const char *const ComponentName = "ondtpc";
// Keys of the message dialog, which shows their translations.
const char *const FatalTitle =
    QT_TRANSLATE_NOOP("CommonDialogMessages", "Brindlecore® Ondrel™ Print Client");
const char *const WrongNameText = QT_TRANSLATE_NOOP(
    "CommonDialogMessages", "Fatal Application Error #911 Generated.\nPlease "
                            "report this error to Brindlecore Technical Support.");
const char *const NoPrintersText = QT_TRANSLATE_NOOP(
    "CommonDialogMessages",
    "Unable to connect to any printers.  Please see a staff member for assistance.");
const int DefaultDialogTimeoutMs = 45000;
const int JobDialogTimeoutSeconds = 45;
// The staff password dialog's texts, translated in its own context.
const char *const PasswordCaption = QT_TRANSLATE_NOOP("PasswordDialog", "Password Required");
const char *const PasswordHeading =
    QT_TRANSLATE_NOOP("PasswordDialog", "Please enter the following information.");
const char *const PasswordPrompt =
    QT_TRANSLATE_NOOP("PasswordDialog", "Please enter the staff password.");
const int LanguagePort = 30044;
const QString ObserverManagerEntry = QStringLiteral("observerManager");

// The running client, for the exit handler: the toolkit ends the process with exit() when the
// display connection breaks, without returning from the event loop.
ClientStartup *s_running = nullptr;
bool s_exitHandlerInstalled = false;

void showFatal(const char *text)
{
    PrintClientDialog dialog;
    dialog.critical(QString::fromUtf8(FatalTitle), QString::fromUtf8(text));
}

} // namespace

ClientStartup::LoggerRelease::~LoggerRelease()
{
    AppContext::instance().takeEntry(ObserverManagerEntry);
}

ClientStartup::DialogSettingsRelease::~DialogSettingsRelease()
{
    DialogSettings::shared().reset();
}

ClientStartup::ClientStartup(int &argc, char **argv)
    : m_argc(argc)
    , m_argv(argv)
    , m_clientPreferences(&m_registry)
    , m_printerConnector(nullptr)
    , m_loggingPreferences(QString::fromLatin1(ComponentName))
{}

ClientStartup::~ClientStartup()
{
    if (s_running == this)
        s_running = nullptr;
}

int ClientStartup::run()
{
    startLogging();
    reportDamagedFiles();
    m_application = std::make_unique<TpcApplication>(m_argc, m_argv, &m_clientPreferences);
    if (m_application->isRunning())
        return 0;
    m_application->initialize(true);
    if (const std::optional<int> exitCode = checkStartup())
        return *exitCode;
    connectToPrintService();

    // From here on the workstation is changed; it is put back however the process ends.
    s_running = this;
    if (!s_exitHandlerInstalled) {
        s_exitHandlerInstalled = true;
        std::atexit([] {
            if (s_running)
                s_running->restoreWorkstation();
        });
    }
    const int result = m_application->exec();
    restoreWorkstation();
    s_running = nullptr;
    log(UtilsLib::LogInfo, "main",
        QStringLiteral("%1 stopped (exit code %2)")
            .arg(m_versionInfo.fileDescription())
            .arg(result));
    return result;
}

void ClientStartup::startLogging()
{
    const QString component = QString::fromLatin1(ComponentName);
    LogFolder folder(
        AppFolders::logFolder(AppFolders::ClientSubPath),
        AppFolders::userLogFolder(AppFolders::ClientSubPath),
        {component + QLatin1String("-userlog.txt"), component + QLatin1String("-devlog.txt")});
    const QString logFolder = folder.choose();
    if (folder.usedFallback())
        std::fprintf(stderr, "%s: the common log folder %s cannot be written; logging to %s\n",
                     ComponentName, qPrintable(AppFolders::logFolder(AppFolders::ClientSubPath)),
                     qPrintable(logFolder));

    m_loggingPreferences.setInt(QStringLiteral("Logging: Enabled"), 1);
    m_loggingPreferences.setInt(QStringLiteral("Logging: Maximum File Size in MB"), 10);
    m_loggingPreferences.setInt(QStringLiteral("Logging: Maximum Number of Backups"), 3);
    m_loggingPreferences.setInt(QStringLiteral("Logging: Verbose"), 1);
    m_loggingPreferences.setInt(QStringLiteral("Logging Level"), 2);
    // An administrator may override these in the client's preferences file; a missing file
    // is the normal case, a damaged one is reported once the logger exists.
    const QString configFolder =
        UtilsLib::XmlPreferences::configDirectory(AppFolders::ClientSubPath);
    m_preferencesFile =
        configFolder.isEmpty() ? QString() : configFolder + QLatin1String("/ondtpc.xml");
    m_preferencesUnreadable = !m_preferencesFile.isEmpty() &&
                              QFileInfo::exists(m_preferencesFile) &&
                              !m_loggingPreferences.load(m_preferencesFile, false);
    // The context owns the logger; m_loggerRelease takes it back when everything else is gone.
    AppContext::instance().addEntry(std::make_unique<Brindlecore::Core::ObserverManager>(
        component, m_loggingPreferences, logFolder));
    m_observer = AppContext::instance()
                     .findEntryAs<Brindlecore::Core::ObserverFactoryInterface>(ObserverManagerEntry)
                     ->getObserver();
    m_printerConnector.addObserver(m_observer);
    m_startupLog.addObserver(m_observer);
    if (folder.usedFallback())
        log(UtilsLib::LogWarning, "main",
            QStringLiteral("The common log folder %1 cannot be written; logging to %2")
                .arg(AppFolders::logFolder(AppFolders::ClientSubPath), logFolder));
}

void ClientStartup::reportDamagedFiles()
{
    if (m_preferencesUnreadable)
        log(UtilsLib::LogWarning, "main",
            QStringLiteral("Could not read the preferences file %1; the defaults apply to what it "
                           "did not set")
                .arg(m_preferencesFile));
    // A missing session file is normal (first run, or not installed); one that is there but
    // cannot be used silently puts the staff password back to the default, which the staff
    // would otherwise find out only at the next approval.
    if (!m_clientPreferences.loadSession() &&
        QFileInfo::exists(PrintClientPreferences::sessionFilePath()))
        log(UtilsLib::LogWarning, "main",
            QStringLiteral("Could not read the session file %1; the default staff password "
                           "applies")
                .arg(PrintClientPreferences::sessionFilePath()));
}

std::optional<int> ClientStartup::checkStartup()
{
    m_stopSignals = std::make_unique<UnixSignalNotifier>(QList<int>{SIGTERM, SIGINT, SIGHUP});
    QObject::connect(m_stopSignals.get(), &UnixSignalNotifier::signalReceived, m_application.get(),
                     [this](int signalNumber) {
                         log(UtilsLib::LogInfo, "endSession",
                             QStringLiteral("Received signal %1; stopping").arg(signalNumber));
                         m_application->endSession();
                     });
    log(UtilsLib::LogInfo, "main",
        QStringLiteral("%1 %2 starting")
            .arg(m_versionInfo.fileDescription(), m_versionInfo.fileVersion()));

    DialogSettings &dialogs = DialogSettings::shared();
    dialogs.setVersionInfo(&m_versionInfo);
    dialogs.setDefaultTimeoutMs(DefaultDialogTimeoutMs);
    if (m_versionInfo.executableBaseName().toUpper() != QLatin1String("ONDTPC")) {
        showFatal(WrongNameText);
        return 0;
    }
    if (!m_printerConnector.initialize()) {
        showFatal(NoPrintersText);
        return 1;
    }
    const CommandLine commandLine(m_application->arguments());
    QString locale = QStringLiteral("en_us");
    if (commandLine.hasOption(QStringLiteral("locale")))
        locale = commandLine.optionValue(QStringLiteral("locale"));
    else if (commandLine.hasOption(QStringLiteral("dialect")))
        locale = commandLine.optionValue(QStringLiteral("dialect"));
    installTranslations(locale);
    m_printerMappings = std::make_unique<SharedPrinterMappings>(&m_printerConnector, m_observer);
    if (!m_printerMappings->connectToSharedPrinters(commandLine.plainArguments().mid(1))) {
        showFatal(NoPrintersText);
        return 1;
    }
    m_application->setSharedPrinterMappings(m_printerMappings.get());
    m_printerConnector.resetPerUserDefaults();
    return std::nullopt;
}

void ClientStartup::installTranslations(const QString &locale)
{
    m_locale = locale;
    m_translator = std::make_unique<PrintClientTranslator>(locale, m_observer, &m_httpFactory);
    m_translator->setPrinterConnector(&m_printerConnector);
    m_translator->installDefaultTranslations();
    // Without a list from the Print Service the selector would stay hidden: every language
    // installed here is offered until the settings name the site's own.
    m_translator->installSupportedLanguageDialects(
        TranslationFileManager().installedDialects().join(u','));
}

void ClientStartup::startLanguageChanger()
{
    const QString address = QStringLiteral("http://%1:%2/languages")
                                .arg(m_printerConnector.getPrintServiceForOndrelPrinter())
                                .arg(LanguagePort);
    m_languageChanger = std::make_unique<PrintClientLanguageChanger>(
        &m_clientPreferences, m_httpFactory.create(), address, m_observer);
    DialogSettings::shared().setLanguageChanger(m_languageChanger.get());
    SettingsMsgHandler::setOverridesApplied(m_languageChanger->changeLanguage(m_locale.toUpper()) ==
                                            LanguageChanger::DefaultAndOverride);
    m_settingsHandler->setLanguageChanger(m_languageChanger.get());
}

void ClientStartup::registerHandlers()
{
    using namespace Brindlecore::Core;
    auto settingsHandler = std::make_unique<SettingsMsgHandler>(
        &m_clientPreferences, m_session.get(), &m_printerConnector, m_translator.get(), m_observer);
    // It has no registration listener until there is a tray icon to tell.
    m_settingsHandler = settingsHandler.get();
    ClientProcessingDialog *progress = m_processingDialog.get();
    // Handlers are given no message box: each message gets a dialog of its own.
    addPrototype(std::make_unique<JobReceivedMsg>(
        std::make_unique<JobReceivedMsgHandler>(
            JobDialogTimeoutSeconds, &m_clientPreferences, m_userSession.get(), m_session.get(),
            progress, m_pageCountValidator.get(), &m_environment, m_observer),
        m_observer));
    addPrototype(std::make_unique<PrintJobConfirmationMsg>(
        std::make_unique<PrintJobConfirmationMsgHandler>(&m_clientPreferences, m_userSession.get(),
                                                         m_session.get(), progress, m_observer),
        m_observer));
    addPrototype(std::make_unique<JobDeletedMsg>(
        std::make_unique<JobDeletedMsgHandler>(nullptr, progress, m_observer), m_observer));
    addPrototype(std::make_unique<AuthenticateReq>(
        std::make_unique<AuthenticateReqHandler>(&m_clientPreferences, m_userSession.get(),
                                                 m_session.get(), progress, m_observer),
        m_observer));
    addPrototype(std::make_unique<AuthenticateResultMsg>(
        std::make_unique<AuthenticateResultMsgHandler>(m_userSession.get(), progress, nullptr,
                                                       m_observer),
        m_observer));
    addPrototype(std::make_unique<GuestJobReq>(
        std::make_unique<GuestJobReqHandler>(&m_clientPreferences, m_userSession.get(), nullptr,
                                             progress, m_observer),
        m_observer));
    addPrototype(std::make_unique<SettingsMsg>(std::move(settingsHandler), m_observer));
    addPrototype(std::make_unique<ShowSpoolingDialogMsg>(
        std::make_unique<ShowSpoolingDialogMsgHandler>(progress, m_observer), m_observer));
    addPrototype(std::make_unique<AutoReleaseMsg>(
        std::make_unique<AutoReleaseMsgHandler>(nullptr, progress, m_observer), m_observer));
    addPrototype(std::make_unique<PrintClientUpdateMsg>(
        std::make_unique<PrintClientUpdateMsgHandler>(
            &m_clientPreferences, nullptr, progress, &m_processManager, &m_versionInfo, m_observer),
        m_observer));
}

void ClientStartup::addPrototype(std::unique_ptr<Brindlecore::Core::Message> prototype)
{
    m_dispatcher->registerMessage(prototype->messageId(), prototype.get());
    m_prototypes.push_back(std::move(prototype));
}

void ClientStartup::connectToPrintService()
{
    AppContext::instance().addEntry(std::make_unique<Brindlecore::Core::JqeTimeSource>());
    m_sessionHttp = m_httpFactory.create();
    m_session = std::make_unique<TvrSessionRegistry>(
        m_sessionHttp.get(), m_observer, TvrSessionRegistry::DefaultPort,
        std::make_unique<PcInfoProvider>(), &m_registry);
    PasswordDlgInfo passwordInfo(QString::fromUtf8(PasswordCaption), QStringLiteral("OK"),
                                 QStringLiteral("Cancel"), QString(),
                                 QString::fromUtf8(PasswordPrompt));
    passwordInfo.setHeadingKey(QString::fromUtf8(PasswordHeading));
    m_passwordDialog = std::make_unique<OpcPasswordDialog>(passwordInfo);
    m_passwordValidator = std::make_unique<OpcPasswordValidator>(m_passwordDialog.get());
    m_pageCountValidator = std::make_unique<OpcPageCountValidator>(
        &m_clientPreferences, m_session.get(), m_passwordValidator.get(), nullptr);
    m_dispatcher = std::make_unique<OpcMessageDispatcher>(m_observer);
    m_processingDialog = std::make_unique<ClientProcessingDialog>();
    m_userSession = std::make_unique<UserSession>();
    registerHandlers();
    startLanguageChanger();
    const bool installed = m_clientPreferences.isInstalled();
    m_mainWindow = std::make_unique<OpcMainWindow>(installed);
    m_messager = std::make_unique<PrintClientMessager>(m_observer);
    // The registration is the connection's first listener: it must be the first text sent.
    m_registration = std::make_unique<PrintClientRegistration>(m_messager.get(), &m_environment);
    m_messager->addConnectionListener(m_registration.get());
    m_connection =
        std::make_unique<OpcConnection>(m_dispatcher.get(), m_messager.get(), m_observer);
    // Each text is answered inside a scope of the dialogs it opens, which close when its
    // connection is lost.
    m_dialogGuard =
        std::make_unique<ConnectionDialogGuard>(m_connection.get(), m_processingDialog.get());
    m_messager->setMessageListener(m_dialogGuard.get());
    m_messager->setPrinterConnector(&m_printerConnector);
    if (installed) {
        // Owned by the main window, whose child it is.
        m_trayIcon =
            new TpcTrayIcon(m_mainWindow.get(), m_versionInfo.fileDescription(), &m_registry);
        m_trayIcon->show();
        m_messager->addConnectionListener(m_trayIcon);
        m_settingsHandler->setRegistrationListener(m_trayIcon);
    }
    m_messager->addConnectionListener(m_dialogGuard.get());
    // Without a tray to show the client, its window must stay within reach.
    if (!installed || !QSystemTrayIcon::isSystemTrayAvailable())
        m_mainWindow->showMinimized();
    m_mainWindowController = std::make_unique<OpcMainWindowController>(
        m_mainWindow.get(), m_passwordValidator.get(), &m_clientPreferences);
    m_messager->reconnect();
}

void ClientStartup::restoreWorkstation()
{
    if (m_restored)
        return;
    m_restored = true;
    // No more dispatching: nothing may ask the user anything while the session goes away.
    if (m_messager)
        m_messager->setMessageListener(nullptr);
    if (m_printerMappings) {
        m_printerMappings->restoreDefaultPrinter();
        m_printerMappings->disconnectFromSharedPrinters();
    }
    // The default printer is set on a worker thread; wait for it before the process may end.
    m_printerConnector.onTerminate();
}

void ClientStartup::log(UtilsLib::LogKind kind, const char *operation, const QString &text) const
{
    UtilsLib::logEvent(&m_startupLog, QStringLiteral("TpcApplication"),
                       QStringLiteral("TpcApplication::") + QLatin1String(operation), kind, text);
}
