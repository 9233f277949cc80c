#pragma once

#include "PrivateCupsd.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <memory>

// Everything one end-to-end test (or benchmark) needs around the real ondtpc binary: a private
// cupsd whose virtual printer points the client at a loopback address of the test's own,
// private home, runtime, registry and log folders, the Print Service simulator on that
// address, and optionally an X server for dialogs that must be answered like a user would.
class ClientHarness
{
public:
    explicit ClientHarness(const QString &printServiceAddress);
    ~ClientHarness();

    // Starts cupsd with the virtual printer; false with errorText() on failure.
    bool start();
    QString errorText() const { return m_error; }

    // Runs ondps-sim with the script (and any further options) on the harness's address; its
    // traffic goes to trafficPath().
    QProcess *startSimulator(const QString &script, int expectTimeoutMs = 60000,
                             const QStringList &moreArguments = {});
    // Runs ondps-sim at its prompt on the harness's address, for a test that types its steps
    // one at a time with step() and looks at the client's windows in between.
    QProcess *startSimulatorPrompt(int expectTimeoutMs = 20000);
    // Types one step; an expect step is waited for: true when it was met.
    static bool step(QProcess *simulator, const QString &line);
    // The same on the simulator startSimulatorPrompt() started last.
    bool step(const QString &line) { return step(m_promptSimulator, line); }
    // Runs the client (or a copy of it) with the arguments; the platform is offscreen unless
    // an X server was started. Its standard error is kept for the test to read.
    QProcess *startClient(const QStringList &arguments = {}, const QString &program = QString());
    // Starts Xvfb on a free display; later clients use it instead of the offscreen platform.
    bool startXServer();
    // Kills the X server as a crash would, leaving the clients on it without a display.
    void killXServer();
    // Presses the key (an xdotool key name) in the window whose title contains the text until the
    // window goes; false when no such window shows up and goes within the timeout.
    bool pressKeyInWindow(const QString &title, const QString &key, int timeoutMs = 20000);
    bool pressReturnInWindow(const QString &title, int timeoutMs = 20000)
    {
        return pressKeyInWindow(title, QStringLiteral("Return"), timeoutMs);
    }
    // Types the text (a tab moves to the next field) into the window whose title contains the
    // title once it is on screen; false when none shows up within the timeout.
    bool typeInWindow(const QString &title, const QString &text, int timeoutMs = 20000);
    // Waits until a window whose title contains the text is on screen (or, with shown false,
    // until none is).
    bool waitForWindow(const QString &title, bool shown = true, int timeoutMs = 20000);
    // Runs a program on the X server; the harness stops it with the clients, in the reverse
    // order of their start.
    QProcess *startOnDisplay(const QString &program, const QStringList &arguments);
    // Starts an XEmbed system tray (trayer) on the X server of startXServer() and waits until
    // it owns the tray selection, so that a client started afterwards finds it.
    bool startSystemTray(int timeoutMs = 20000);
    // The standard output of the program (xdotool, xprop, xwininfo, import) run on the X
    // server, of which a trimmed text is made by onDisplay(); empty when the program fails.
    QByteArray outputOnDisplay(const QString &program, const QStringList &arguments) const;
    QString onDisplay(const QString &program, const QStringList &arguments) const
    {
        return QString::fromUtf8(outputOnDisplay(program, arguments)).trimmed();
    }

    // Terminates the client as a session's end would; true when it ends in 15 s with exit code 0.
    static bool stopsCleanly(QProcess *client);

    // Adds a variable to the environment of clients started from now on.
    void setClientVariable(const QString &name, const QString &value)
    {
        m_extraVariables.insert(name, value);
    }
    // The environment of clients started from now on, for programs that start them themselves.
    QProcessEnvironment clientEnvironment() const;
    // The spooler of the private world, for programs that add queues of their own.
    PrivateCupsd &cupsd() { return m_cupsd; }

    QString trafficPath() const { return scratchPath(QStringLiteral("traffic.log")); }
    QString logFolder() const { return scratchPath(ClientFolder + QStringLiteral("/logs")); }
    // Where the administrator's preferences file ondtpc.xml goes.
    QString configFolder() const { return scratchPath(ClientFolder + QStringLiteral("/config")); }
    // The client's home folder (its session file is in .ondTpc there).
    QString homeFolder() const { return m_cupsd.homePath(); }
    // ONDTPC_REGISTRY_DIR of the client: the hive files of every root key.
    QString registryFolder() const { return scratchPath(QStringLiteral("registry")); }
    // Makes the clients of the harness installed ones (the machine registry's install
    // location), which show their tray icon and stop only with the staff password.
    bool installClient() const;
    // Gives the clients started from now on a booking session with these per-user values (the
    // text of its settings file); the file's path, empty when it could not be written.
    QString setBookingSession(const QByteArray &values);
    QString scratchPath(const QString &name) const { return m_dir.filePath(name); }
    QString clientProgram() const;
    QString expectedRegistration() const;

private:
    static inline const QString ClientFolder =
        QStringLiteral("appdata/Brindlecore/ondrel/ondclient/ondtpc");

    QProcess *adopt(std::unique_ptr<QProcess> process);
    QProcessEnvironment displayEnvironment() const;

    QString m_address;
    QTemporaryDir m_dir;
    PrivateCupsd m_cupsd;
    QString m_display;
    std::vector<std::unique_ptr<QProcess>> m_processes;
    std::unique_ptr<QProcess> m_xserver;
    QProcessEnvironment m_extraVariables;
    QString m_error;
    QProcess *m_promptSimulator = nullptr;
};
