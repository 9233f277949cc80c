#include "PrivateCupsd.h"

#include "FileBytes.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTcpServer>
#include <QThread>

#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace {

constexpr int StartTimeoutMs = 15000;
constexpr int ToolTimeoutMs = 15000;

// A group that exists, is not `except`, and that the calling user is not a member of, as
// cupsd sees membership: the user's primary group and the groups that list the user.
QString foreignGroup(const QString &except)
{
    const passwd *user = getpwuid(geteuid());
    if (!user)
        return QString();
    int count = 0;
    getgrouplist(user->pw_name, user->pw_gid, nullptr, &count);
    std::vector<gid_t> own(count);
    getgrouplist(user->pw_name, user->pw_gid, own.data(), &count);
    own.push_back(getegid());

    QString found;
    setgrent();
    while (const group *entry = getgrent()) {
        const QString name = QString::fromLocal8Bit(entry->gr_name);
        if (std::find(own.begin(), own.end(), entry->gr_gid) == own.end() && name != except) {
            found = name;
            break;
        }
    }
    endgrent();
    return found;
}

quint16 freePort(const QString &address)
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress(address), 0))
        return 0;
    return probe.serverPort();
}

} // namespace

PrivateCupsd::PrivateCupsd()
    : m_root(QDir::tempPath() + QStringLiteral("/ondtpc-cupsd-XXXXXX"))
{}

PrivateCupsd::~PrivateCupsd()
{
    stop();
}

bool PrivateCupsd::start(const Options &options)
{
    stop();
    m_error.clear();
    const QString cupsd =
        QStandardPaths::findExecutable("cupsd", {"/usr/sbin", "/usr/local/sbin", "/sbin"});
    if (cupsd.isEmpty()) {
        m_error = QStringLiteral("cupsd was not found in /usr/sbin: the printer tests need a real "
                                 "CUPS scheduler (Debian package cups; scripts/bootstrap "
                                 "installs it)");
        return false;
    }
    if (!m_root.isValid()) {
        m_error = QStringLiteral("no temporary folder: %1").arg(m_root.errorString());
        return false;
    }
    // Only a port picked just now can be taken by someone else meanwhile: try a few.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (!writeConfiguration(options))
            return false;
        m_process = std::make_unique<QProcess>();
        m_process->setProgram(cupsd);
        m_process->setArguments(
            {"-f", "-c", m_root.filePath("cupsd.conf"), "-s", m_root.filePath("cups-files.conf")});
        m_process->setStandardInputFile(QProcess::nullDevice());
        m_process->setStandardOutputFile(m_root.filePath("log/cupsd.out"));
        m_process->setStandardErrorFile(m_root.filePath("log/cupsd.out"));
        // A test program that dies must not leave its scheduler behind.
        m_process->setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
        m_process->start();
        if (!m_process->waitForStarted(StartTimeoutMs)) {
            m_error = QStringLiteral("cupsd did not start: %1").arg(m_process->errorString());
            m_process.reset();
            return false;
        }
        if (waitUntilAnswering())
            return true;
        stop();
        if (options.listenAddress.isEmpty())
            break;
    }
    return false;
}

void PrivateCupsd::stop()
{
    if (!m_process)
        return;
    if (m_process->state() != QProcess::NotRunning) {
        m_process->terminate();
        if (!m_process->waitForFinished(10000)) {
            m_process->kill();
            m_process->waitForFinished(5000);
        }
    }
    m_process.reset();
}

bool PrivateCupsd::writeConfiguration(const Options &options)
{
    for (const char *folder : {"log", "spool/temp", "cache", "ppd", "ssl", "home"}) {
        if (!QDir(m_root.path()).mkpath(QString::fromLatin1(folder))) {
            m_error = QStringLiteral("cannot create %1 in %2").arg(folder, m_root.path());
            return false;
        }
    }
    if (socketPath().toLocal8Bit().size() > 100) {
        m_error = QStringLiteral("socket path too long: %1").arg(socketPath());
        return false;
    }

    // cupsd never runs filters and backends as root; as root they run as lp.
    const bool root = geteuid() == 0;
    const passwd *self = getpwuid(geteuid());
    const QString user =
        root ? QStringLiteral("lp") : (self ? QString::fromLocal8Bit(self->pw_name) : QString());
    const group *own = getgrgid(getegid());
    const QString runGroup =
        root ? QStringLiteral("lp") : QString::fromLocal8Bit(own ? own->gr_name : "");
    QString admins = root ? QStringLiteral("root") : runGroup;
    if (!options.callerIsAdmin) {
        admins = foreignGroup(runGroup);
        if (admins.isEmpty()) {
            m_error = QStringLiteral("no group found that the test user is not a member of");
            return false;
        }
    }

    const QString folder = m_root.path();
    const QString files = QStringLiteral("ServerRoot %1\n"
                                         "StateDir %1\n"
                                         "CacheDir %1/cache\n"
                                         "RequestRoot %1/spool\n"
                                         "TempDir %1/spool/temp\n"
                                         "AccessLog %1/log/access_log\n"
                                         "ErrorLog %1/log/error_log\n"
                                         "PageLog %1/log/page_log\n"
                                         "Printcap %1/printcap\n"
                                         "FileDevice Yes\n"
                                         "Sandboxing Relaxed\n"
                                         "User %2\n"
                                         "Group %3\n"
                                         "SystemGroup %4\n")
                              .arg(folder, user, runGroup, admins);

    QString listen = QStringLiteral("Listen %1\n").arg(socketPath());
    m_port = 0;
    if (!options.listenAddress.isEmpty()) {
        m_port = freePort(options.listenAddress);
        if (m_port == 0) {
            m_error = QStringLiteral("no free port on %1").arg(options.listenAddress);
            return false;
        }
        listen += QStringLiteral("Listen %1:%2\n").arg(options.listenAddress).arg(m_port);
    }
    // Everyone may list and print; only the SystemGroup may change queues.
    const QString daemon =
        listen + QStringLiteral("Browsing No\n"
                                "WebInterface No\n"
                                "LogLevel warn\n"
                                "<Location />\n"
                                "  Order allow,deny\n"
                                "</Location>\n"
                                "<Policy default>\n"
                                "  <Limit CUPS-Add-Modify-Printer CUPS-Delete-Printer "
                                "CUPS-Add-Modify-Class CUPS-Delete-Class CUPS-Set-Default "
                                "Pause-Printer Resume-Printer CUPS-Accept-Jobs CUPS-Reject-Jobs "
                                "Cancel-Jobs>\n"
                                "    AuthType Default\n"
                                "    Require user @SYSTEM\n"
                                "    Order deny,allow\n"
                                "  </Limit>\n"
                                "  <Limit All>\n"
                                "    Order deny,allow\n"
                                "  </Limit>\n"
                                "</Policy>\n");
    if (!writeFile(m_root.filePath("cups-files.conf"), files.toUtf8()) ||
        !writeFile(m_root.filePath("cupsd.conf"), daemon.toUtf8())) {
        m_error = QStringLiteral("cannot write the configuration in %1").arg(folder);
        return false;
    }
    return true;
}

bool PrivateCupsd::waitUntilAnswering()
{
    const QDeadlineTimer deadline(StartTimeoutMs);
    while (!deadline.hasExpired()) {
        if (m_process->state() == QProcess::NotRunning) {
            m_error = QStringLiteral("cupsd stopped at start-up:\n%1").arg(logTail());
            return false;
        }
        QLocalSocket probe;
        probe.connectToServer(socketPath());
        if (probe.waitForConnected(100)) {
            probe.disconnectFromServer();
            QString output;
            if (run("lpstat", {"-r"}, &output) && output.contains(QLatin1String("is running")))
                return true;
        }
        QThread::msleep(50);
    }
    m_error =
        QStringLiteral("cupsd did not answer within %1 ms:\n%2").arg(StartTimeoutMs).arg(logTail());
    return false;
}

QString PrivateCupsd::logTail() const
{
    QString text;
    for (const char *name : {"log/cupsd.out", "log/error_log"})
        text += QString::fromLocal8Bit(readFile(m_root.filePath(name)).right(4000));
    return text;
}

QProcessEnvironment PrivateCupsd::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("CUPS_SERVER", socketPath());
    environment.insert("CUPS_SERVERROOT", serverRoot());
    environment.insert("CUPS_STATEDIR", serverRoot());
    environment.insert("HOME", homePath());
    environment.remove("LPDEST");
    environment.remove("PRINTER");
    return environment;
}

void PrivateCupsd::exportEnvironment() const
{
    const QProcessEnvironment own = environment();
    for (const char *name : {"CUPS_SERVER", "CUPS_SERVERROOT", "CUPS_STATEDIR", "HOME"})
        qputenv(name, own.value(name).toLocal8Bit());
    for (const char *name : {"LPDEST", "PRINTER"})
        qunsetenv(name);
}

bool PrivateCupsd::run(const QString &program, const QStringList &arguments, QString *output)
{
    QProcess tool;
    tool.setProcessEnvironment(environment());
    tool.setProcessChannelMode(QProcess::MergedChannels);
    tool.start(program, arguments);
    const bool finished = tool.waitForStarted(ToolTimeoutMs) && tool.waitForFinished(ToolTimeoutMs);
    const QString text = QString::fromLocal8Bit(tool.readAll());
    if (output)
        *output = text;
    if (!finished || tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0) {
        m_error =
            QStringLiteral("%1 %2 failed: %3")
                .arg(program, arguments.join(u' '), text.isEmpty() ? tool.errorString() : text);
        if (!finished)
            tool.kill();
        return false;
    }
    return true;
}

bool PrivateCupsd::addQueue(const QString &name, const QString &deviceUri, const QString &info,
                            bool shared)
{
    return run("lpadmin", {"-p", name, "-E", "-v", deviceUri, "-D", info, "-o",
                           shared ? "printer-is-shared=true" : "printer-is-shared=false"});
}

bool PrivateCupsd::clear()
{
    QString output;
    if (!run("lpstat", {"-e"}, &output)) {
        // lpstat fails when there is nothing to list.
        if (!output.contains(QLatin1String("No destinations")))
            return false;
        output.clear();
    }
    for (const QString &name : output.split(u'\n', Qt::SkipEmptyParts)) {
        if (!run("lpadmin", {"-x", name.trimmed()}))
            return false;
    }
    QFile::remove(homePath() + "/.cups/lpoptions");
    return true;
}
