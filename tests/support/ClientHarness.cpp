#include "ClientHarness.h"

#include "FileBytes.h"
#include "protocol/FieldList.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHostInfo>
#include <QThread>
#include <QtCore/qtestsupport_core.h>

#include <pwd.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdlib>

namespace {

// Asks the process to end, and kills it when it has not within five seconds.
void stop(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

// True when the selection has an owner on the X server; no command-line tool tells.
bool selectionOwned(const QString &display, const QByteArray &selection)
{
    xcb_connection_t *connection = xcb_connect(display.toLocal8Bit().constData(), nullptr);
    bool owned = false;
    if (!xcb_connection_has_error(connection)) {
        xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 0, selection.size(), selection.constData()),
            nullptr);
        xcb_get_selection_owner_reply_t *owner =
            atom ? xcb_get_selection_owner_reply(
                       connection, xcb_get_selection_owner(connection, atom->atom), nullptr)
                 : nullptr;
        owned = owner && owner->owner != XCB_NONE;
        std::free(owner);
        std::free(atom);
    }
    xcb_disconnect(connection);
    return owned;
}

} // namespace

ClientHarness::ClientHarness(const QString &printServiceAddress)
    : m_address(printServiceAddress)
{}

ClientHarness::~ClientHarness()
{
    // Clients first (they may be restoring printers through cupsd), then the rest.
    for (auto it = m_processes.rbegin(); it != m_processes.rend(); ++it)
        stop(**it);
    m_processes.clear();
    // A killed Xvfb leaves its lock file behind; a terminated one removes it.
    if (m_xserver)
        stop(*m_xserver);
}

bool ClientHarness::stopsCleanly(QProcess *client)
{
    client->terminate();
    return client->waitForFinished(15000) && client->exitStatus() == QProcess::NormalExit &&
           client->exitCode() == 0;
}

bool ClientHarness::start()
{
    if (!m_dir.isValid()) {
        m_error = QStringLiteral("no temporary folder");
        return false;
    }
    for (const char *folder : {"runtime", "appdata/Brindlecore", "registry"}) {
        if (!QDir().mkpath(m_dir.filePath(QString::fromLatin1(folder)))) {
            m_error = QStringLiteral("cannot create %1").arg(QString::fromLatin1(folder));
            return false;
        }
    }
    QFile::setPermissions(m_dir.filePath("runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (!m_cupsd.start() || !m_cupsd.addQueue("ondrel", "ipp://" + m_address + "/printers/ondrel",
                                              "Brindlecore Virtual Printer")) {
        m_error = m_cupsd.errorText();
        return false;
    }
    return true;
}

bool ClientHarness::installClient() const
{
    return writeFile(registryFolder() + QStringLiteral("/HKEY_LOCAL_MACHINE.ini"),
                     "[SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ondclient]\n"
                     "InstallLocation=sz:/usr/lib/ondtpc\n");
}

QString ClientHarness::setBookingSession(const QByteArray &values)
{
    const QString config = scratchPath(QStringLiteral("config"));
    const QString file = config + QStringLiteral("/Tavrin/Interface Software.conf");
    if (!QDir().mkpath(config + QStringLiteral("/Tavrin")) || !writeFile(file, values))
        return QString();
    setClientVariable(QStringLiteral("XDG_CONFIG_HOME"), config);
    return file;
}

QProcessEnvironment ClientHarness::clientEnvironment() const
{
    QProcessEnvironment environment = m_cupsd.environment();
    environment.insert("XDG_RUNTIME_DIR", m_dir.filePath("runtime"));
    environment.insert("ONDTPC_COMMON_APPDATA", m_dir.filePath("appdata"));
    environment.insert("ONDTPC_REGISTRY_DIR", registryFolder());
    environment.remove("SESSION_MANAGER");
    environment.insert(m_extraVariables);
    // In the sanitizer build the client's leak check at exit would turn the exit code the
    // tests look at into the sanitizer's; leaks are the unit tests' business.
    if (environment.contains("ASAN_OPTIONS"))
        environment.insert("ASAN_OPTIONS", environment.value("ASAN_OPTIONS") + ":detect_leaks=0");
    if (m_display.isEmpty()) {
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
    } else {
        environment.insert("QT_QPA_PLATFORM", "xcb");
        environment.insert("DISPLAY", m_display);
    }
    return environment;
}

QProcess *ClientHarness::adopt(std::unique_ptr<QProcess> process)
{
    m_processes.push_back(std::move(process));
    return m_processes.back().get();
}

QProcess *ClientHarness::startSimulator(const QString &script, int expectTimeoutMs,
                                        const QStringList &moreArguments)
{
    const QString scriptPath = scratchPath(QStringLiteral("scenario.txt"));
    writeFile(scriptPath, script.toUtf8());
    auto process = std::make_unique<QProcess>();
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(QStringLiteral(ONDPS_SIM),
                   QStringList{"--listen", m_address, "--script", scriptPath, "--timeout",
                               QString::number(expectTimeoutMs), "--log", trafficPath()} +
                       moreArguments);
    process->waitForStarted(5000);
    // The client must find the simulator listening; the log file appears once it does.
    if (!QTest::qWaitFor([&] { return QFile::exists(trafficPath()); }, 5000))
        qWarning("ondps-sim is not listening after 5 s");
    return adopt(std::move(process));
}

QProcess *ClientHarness::startClient(const QStringList &arguments, const QString &program)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(clientEnvironment());
    process->setProcessChannelMode(QProcess::ForwardedOutputChannel);
    process->start(program.isEmpty() ? clientProgram() : program, arguments);
    process->waitForStarted(5000);
    return adopt(std::move(process));
}

void ClientHarness::killXServer()
{
    if (!m_xserver)
        return;
    m_xserver->kill();
    m_xserver->waitForFinished(5000);
    m_xserver.reset();
}

bool ClientHarness::startXServer()
{
    // Xvfb picks a free display itself (stale lock files of dead servers included) and writes
    // its number to the descriptor once it accepts connections.
    m_xserver = std::make_unique<QProcess>();
    m_xserver->start(QStringLiteral("Xvfb"),
                     {"-displayfd", "1", "-screen", "0", "1280x800x24", "-nolisten", "tcp"});
    if (!m_xserver->waitForStarted(5000)) {
        m_error = QStringLiteral("Xvfb could not be started (package xvfb)");
        m_xserver.reset();
        return false;
    }
    const bool answered = QTest::qWaitFor(
        [&] { return m_xserver->canReadLine() || m_xserver->state() != QProcess::Running; }, 15000);
    bool ok = false;
    const int display = m_xserver->readLine().trimmed().toInt(&ok);
    if (!answered || !ok || m_xserver->state() != QProcess::Running) {
        m_error = QStringLiteral("Xvfb did not start: %1")
                      .arg(QString::fromLocal8Bit(m_xserver->readAllStandardError()).trimmed());
        killXServer();
        return false;
    }
    m_display = QStringLiteral(":%1").arg(display);
    return true;
}

QProcess *ClientHarness::startSimulatorPrompt(int expectTimeoutMs)
{
    QFile::remove(trafficPath());
    auto process = std::make_unique<QProcess>();
    process->start(QStringLiteral(ONDPS_SIM),
                   QStringList{"--listen", m_address, "--timeout", QString::number(expectTimeoutMs),
                               "--log", trafficPath()});
    process->waitForStarted(5000);
    if (!QTest::qWaitFor([&] { return QFile::exists(trafficPath()); }, 5000))
        qWarning("ondps-sim is not listening after 5 s");
    return m_promptSimulator = adopt(std::move(process));
}

bool ClientHarness::step(QProcess *simulator, const QString &line)
{
    const int number = simulator->property("steps").toInt() + 1;
    simulator->setProperty("steps", number);
    simulator->write(line.toUtf8() + '\n');
    if (!line.startsWith(QLatin1String("expect ")))
        return simulator->waitForBytesWritten(5000) || simulator->bytesToWrite() == 0;
    const QByteArray ok = "ok line " + QByteArray::number(number) + '\n';
    const QByteArray failed = "FAILED line " + QByteArray::number(number) + ':';
    QByteArray output = simulator->property("output").toByteArray();
    QDeadlineTimer deadline(60000);
    while (!output.contains(ok) && !output.contains(failed) && !deadline.hasExpired() &&
           simulator->state() == QProcess::Running) {
        simulator->waitForReadyRead(100);
        output += simulator->readAllStandardError();
    }
    simulator->setProperty("output", output);
    if (!output.contains(ok))
        qWarning("%s", output.constData());
    return output.contains(ok);
}

bool ClientHarness::waitForWindow(const QString &title, bool shown, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        const bool found =
            !onDisplay("xdotool", {"search", "--onlyvisible", "--name", title}).isEmpty();
        if (found == shown)
            return true;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
}

bool ClientHarness::typeInWindow(const QString &title, const QString &text, int timeoutMs)
{
    if (!waitForWindow(title, true, timeoutMs))
        return false;
    const QString window =
        onDisplay("xdotool", {"search", "--onlyvisible", "--name", title}).section('\n', 0, 0);
    onDisplay("xdotool", {"windowfocus", "--sync", window});
    const QStringList parts = text.split(u'\t');
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0)
            onDisplay("xdotool", {"key", "Tab"});
        if (!parts[i].isEmpty())
            onDisplay("xdotool", {"type", "--delay", "20", parts[i]});
    }
    return true;
}

bool ClientHarness::pressKeyInWindow(const QString &title, const QString &key, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    bool pressed = false;
    QElapsedTimer sincePress;
    while (!deadline.hasExpired()) {
        const QString windows = onDisplay("xdotool", {"search", "--onlyvisible", "--name", title});
        const QString window = windows.section('\n', 0, 0);
        if (window.isEmpty() && pressed)
            return true;
        // Without a window manager the window must be given the focus before the key. A key
        // that comes before the dialog takes keys is lost, so it is pressed again while the
        // window stays; but one key at a time, and only after the last had a second to work: a
        // second key behind an effective one answers the dialog that opens next.
        if (!window.isEmpty() && (!pressed || sincePress.hasExpired(1000))) {
            onDisplay("xdotool", {"windowfocus", "--sync", window});
            onDisplay("xdotool", {"key", key});
            pressed = true;
            sincePress.start();
        }
        QThread::msleep(100);
    }
    return false;
}

QProcessEnvironment ClientHarness::displayEnvironment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", m_display);
    return environment;
}

QProcess *ClientHarness::startOnDisplay(const QString &program, const QStringList &arguments)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(displayEnvironment());
    process->start(program, arguments);
    process->waitForStarted(5000);
    return adopt(std::move(process));
}

bool ClientHarness::startSystemTray(int timeoutMs)
{
    const int screen = m_display.section('.', 1).toInt();
    const QByteArray selection = "_NET_SYSTEM_TRAY_S" + QByteArray::number(screen);
    const QDeadlineTimer deadline(timeoutMs);
    // trayer maps its panel before it takes the selection: only the owner says it is ready. On a
    // loaded machine it once ended without a word before taking it, so it gets three tries.
    QString ended;
    for (int attempt = 0; attempt < 3; ++attempt) {
        QProcess *tray = startOnDisplay("trayer", {"--edge", "top", "--widthtype", "request"});
        while (tray->state() == QProcess::Running && !deadline.hasExpired()) {
            if (selectionOwned(m_display, selection))
                return true;
            QThread::msleep(50);
        }
        if (deadline.hasExpired())
            break;
        ended += QStringLiteral(" [ended: status %1, %2, %3]")
                     .arg(tray->exitCode())
                     .arg(tray->errorString(),
                          QString::fromLocal8Bit(tray->readAllStandardError()).trimmed());
    }
    m_error =
        QStringLiteral("no system tray (package trayer) within %1 ms%2").arg(timeoutMs).arg(ended);
    return false;
}

QByteArray ClientHarness::outputOnDisplay(const QString &program,
                                          const QStringList &arguments) const
{
    QProcess process;
    process.setProcessEnvironment(displayEnvironment());
    process.start(program, arguments);
    if (!process.waitForFinished(10000) || process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput();
}

QString ClientHarness::clientProgram() const
{
    return QStringLiteral(ONDTPC_CLIENT);
}

QString ClientHarness::expectedRegistration() const
{
    const passwd *entry = getpwuid(geteuid());
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    const QString computer = QString::fromLocal8Bit(host).section('.', 0, 0);
    return Brindlecore::Core::encodeFieldList(
        {QStringLiteral("register"), entry ? QString::fromLocal8Bit(entry->pw_name) : QString(),
         computer});
}
