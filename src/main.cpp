// The start-up routine: builds the client's objects in a fixed order, runs the event loop and
// tears everything down in reverse. Each object is created where later ones rely on it: the
// logger before everything that logs, the clock before the first message, the dispatcher's
// table and the registration before the first connection attempt.
#include "app/AppContext.h"
#include "app/AppFolders.h"
#include "app/BuildVersionInfo.h"
#include "app/CommandLine.h"
#include "app/JqeTimeSource.h"
#include "app/LinuxEnvironmentProvider.h"
#include "app/LinuxProcessManager.h"
#include "app/LogEvent.h"
#include "app/Observable.h"
#include "app/ObserverManager.h"
#include "app/TpcApplication.h"
#include "app/UnixSignalNotifier.h"
#include "printers/CupsPrinterConnector.h"
#include "printers/SharedPrinterMappings.h"
#include "protocol/OpcConnection.h"
#include "protocol/OpcMessageDispatcher.h"
#include "protocol/PrintClientMessager.h"
#include "protocol/PrintClientRegistration.h"
#include "settings/PrintClientPreferences.h"
#include "settings/Registry.h"
#include "settings/XmlPreferences.h"
#include "ui/BcBaseDialog.h"
#include "ui/OpcPasswordDialog.h"
#include "ui/PasswordDlgInfo.h"
#include "ui/PrintClientDialog.h"

#include <QDir>
#include <QFileInfo>

#include <csignal>
#include <memory>

using Brindlecore::Core::AppContext;

namespace {

const char *const ComponentName = "ondtpc";
const char *const FatalTitle = "Brindlecore® Ondrel™ Print Client";
const char *const WrongNameText = "Fatal Application Error #911 Generated.\nPlease report this "
                                  "error to Brindlecore Technical Support.";
const char *const NoPrintersText =
    "Unable to connect to any printers.  Please see a staff member for assistance.";
const int DefaultDialogTimeoutMs = 45000;

// Creates the missing levels of the log folder one at a time, top down, below the common
// folder's Brindlecore; failures are left to the logger, which then writes nothing.
void createLogFolderLevels(const QString &logFolder)
{
    const QString common = AppFolders::commonAppData();
    if (logFolder.isEmpty() || common.isEmpty())
        return;
    QString path = QDir(common).filePath(QStringLiteral("Brindlecore"));
    const QStringList levels =
        QString(AppFolders::ClientSubPath + QLatin1String("/logs")).split(QLatin1Char('/'));
    // Readable by every user, writable by the owner only: the logs hold everyone's diagnostics.
    const QFileDevice::Permissions mode = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                          QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                          QFileDevice::ExeOther;
    for (const QString &level : levels) {
        path += QLatin1Char('/') + level;
        if (!QDir(path).exists())
            QDir().mkdir(path, mode);
    }
}

void showFatal(const char *text)
{
    PrintClientDialog dialog;
    dialog.critical(QString::fromUtf8(FatalTitle), QString::fromUtf8(text));
}

} // namespace

int main(int argc, char **argv)
{
    // 1-2: settings, platform services and the spooler.
    UtilsLib::Registry registry;
    PrintClientPreferences clientPreferences(&registry);
    LinuxEnvironmentProvider environment;
    LinuxProcessManager processManager;
    CupsPrinterConnector printerConnector(nullptr);

    // 3-6: the log folder and the logger.
    const QString logFolder = AppFolders::logFolder(AppFolders::ClientSubPath);
    createLogFolderLevels(logFolder);
    UtilsLib::XmlPreferences loggingPreferences(QString::fromLatin1(ComponentName));
    loggingPreferences.setInt(QStringLiteral("Logging: Enabled"), 1);
    loggingPreferences.setInt(QStringLiteral("Logging: Maximum File Size in MB"), 10);
    loggingPreferences.setInt(QStringLiteral("Logging: Maximum Number of Backups"), 3);
    loggingPreferences.setInt(QStringLiteral("Logging: Verbose"), 1);
    loggingPreferences.setInt(QStringLiteral("Logging Level"), 2);
    // An administrator may override these in the client's preferences file; a missing file
    // is the normal case, a damaged one is reported once the logger exists.
    const QString configFolder =
        UtilsLib::XmlPreferences::configDirectory(AppFolders::ClientSubPath);
    const QString preferencesFile =
        configFolder.isEmpty() ? QString() : configFolder + QLatin1String("/ondtpc.xml");
    const bool preferencesUnreadable = !preferencesFile.isEmpty() &&
                                       QFileInfo::exists(preferencesFile) &&
                                       !loggingPreferences.load(preferencesFile, false);
    AppContext::instance().addEntry(std::make_unique<Brindlecore::Core::ObserverManager>(
        QString::fromLatin1(ComponentName), loggingPreferences, logFolder));
    // The context owns the logger; it is taken back at the very end so that it outlives
    // every object that logs.
    struct LoggerRelease
    {
        ~LoggerRelease() { AppContext::instance().takeEntry(QStringLiteral("observerManager")); }
    } loggerRelease;
    UtilsLib::Observer *observer = AppContext::instance()
                                       .findEntryAs<Brindlecore::Core::ObserverFactoryInterface>(
                                           QStringLiteral("observerManager"))
                                       ->getObserver();
    printerConnector.addObserver(observer);
    UtilsLib::Observable startupLog;
    startupLog.addObserver(observer);
    if (preferencesUnreadable)
        UtilsLib::logEvent(&startupLog, QStringLiteral("TpcApplication"),
                           QStringLiteral("TpcApplication::main"), UtilsLib::LogWarning,
                           QStringLiteral("Could not read the preferences file %1; the defaults "
                                          "apply to what it did not set")
                               .arg(preferencesFile));

    // 8-11: the saved session, the application object and the single-instance guard. A
    // missing session file is normal (first run, or not installed); one that is there but
    // cannot be used silently puts the staff password back to the default, which the staff
    // would otherwise find out only at the next approval.
    if (!clientPreferences.loadSession() &&
        QFileInfo::exists(PrintClientPreferences::sessionFilePath()))
        UtilsLib::logEvent(&startupLog, QStringLiteral("TpcApplication"),
                           QStringLiteral("TpcApplication::main"), UtilsLib::LogWarning,
                           QStringLiteral("Could not read the session file %1; the default "
                                          "staff password applies")
                               .arg(PrintClientPreferences::sessionFilePath()));
    TpcApplication application(argc, argv, &clientPreferences);
    if (application.isRunning())
        return 0;
    application.initialize(true);
    UnixSignalNotifier stopSignals({SIGTERM, SIGINT, SIGHUP});
    QObject::connect(
        &stopSignals, &UnixSignalNotifier::signalReceived, &application, [&](int signalNumber) {
            UtilsLib::logEvent(&startupLog, QStringLiteral("TpcApplication"),
                               QStringLiteral("TpcApplication::endSession"), UtilsLib::LogInfo,
                               QStringLiteral("Received signal %1; stopping").arg(signalNumber));
            application.endSession();
        });
    BuildVersionInfo versionInfo;
    UtilsLib::logEvent(&startupLog, QStringLiteral("TpcApplication"),
                       QStringLiteral("TpcApplication::main"), UtilsLib::LogInfo,
                       QStringLiteral("%1 %2 starting")
                           .arg(versionInfo.fileDescription(), versionInfo.fileVersion()));

    // 12-16: dialog defaults, the command line and the start-up checks.
    BcBaseDialog::setDefaultTimeout(DefaultDialogTimeoutMs);
    struct DialogResources
    {
        ~DialogResources() { BcBaseDialog::releaseSharedResources(); }
    } dialogResources;
    const CommandLine commandLine(application.arguments());
    if (versionInfo.executableBaseName().toUpper() != QLatin1String("ONDTPC")) {
        showFatal(WrongNameText);
        return 0;
    }
    if (!printerConnector.initialize()) {
        showFatal(NoPrintersText);
        return 1;
    }
    QString locale = QStringLiteral("en_us");
    if (commandLine.hasOption(QStringLiteral("locale")))
        locale = commandLine.optionValue(QStringLiteral("locale"));
    else if (commandLine.hasOption(QStringLiteral("dialect")))
        locale = commandLine.optionValue(QStringLiteral("dialect"));

    // 18-20: the shared printers, per-user defaults and the message clock.
    SharedPrinterMappings printerMappings(&printerConnector, observer);
    if (!printerMappings.connectToSharedPrinters(commandLine.plainArguments().mid(1))) {
        showFatal(NoPrintersText);
        return 1;
    }
    application.setSharedPrinterMappings(&printerMappings);
    printerConnector.resetPerUserDefaults();
    AppContext::instance().addEntry(std::make_unique<Brindlecore::Core::JqeTimeSource>());

    // 22-23: the staff password dialog and the dispatcher.
    PasswordDlgInfo passwordInfo(QString(), QStringLiteral("OK"), QStringLiteral("Cancel"),
                                 QString(), QString());
    passwordInfo.setCaptionKey(QStringLiteral("Password Required"));
    passwordInfo.setHeadingKey(QStringLiteral("Please enter the following information."));
    passwordInfo.setPromptKey(QStringLiteral("Please enter the staff password."));
    OpcPasswordDialog passwordDialog(passwordInfo);
    OpcMessageDispatcher dispatcher(observer);

    // 27: the connection, with the registration as its first listener.
    PrintClientMessager messager(observer);
    PrintClientRegistration registration(&messager, &environment);
    messager.addConnectionListener(&registration);
    OpcConnection connection(&dispatcher, &messager, observer);
    messager.setMessageListener(&connection);
    messager.setPrinterConnector(&printerConnector);

    // 30-31: the first connection attempt, then the event loop.
    messager.reconnect();
    const int result = application.exec();

    // Shutdown: no more dispatching, the default printer back, the connections removed.
    messager.setMessageListener(nullptr);
    printerMappings.restoreDefaultPrinter();
    printerMappings.disconnectFromSharedPrinters();
    UtilsLib::logEvent(
        &startupLog, QStringLiteral("TpcApplication"), QStringLiteral("TpcApplication::main"),
        UtilsLib::LogInfo,
        QStringLiteral("%1 stopped (exit code %2)").arg(versionInfo.fileDescription()).arg(result));
    return result;
}
