#include "platform/LinuxProcessManager.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <poll.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// Waiting for a killed process is bounded too: the kernel may take a moment to tear it down.
constexpr int KillWaitMs = 5000;

QString executablePathOf(pid_t pid)
{
    QString target = QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(pid));
    const QLatin1String deleted(" (deleted)");
    if (target.endsWith(deleted))
        target.chop(deleted.size());
    if (!target.isEmpty())
        return target;
    // Without access to exe (or for a kernel thread) the first word of the command line.
    QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (!cmdline.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray data = cmdline.read(4096);
    return QString::fromLocal8Bit(data.left(data.indexOf('\0')));
}

bool isZombieOrGone(pid_t pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray data = stat.readAll();
    // The state follows the parenthesised command name, which may itself hold ") ".
    const qsizetype end = data.lastIndexOf(") ");
    return end < 0 || end + 2 >= data.size() || data.at(end + 2) == 'Z' || data.at(end + 2) == 'X';
}

int openPidFd(pid_t pid)
{
#ifdef SYS_pidfd_open
    return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
#else
    Q_UNUSED(pid);
    errno = ENOSYS;
    return -1;
#endif
}

// Waits until the process has ended: through its pidfd when the kernel has them, else by
// looking at /proc every few milliseconds.
bool waitForExit(pid_t pid, int pidFd, int timeoutMs)
{
    if (pidFd >= 0) {
        pollfd entry{pidFd, POLLIN, 0};
        int result;
        do {
            result = poll(&entry, 1, timeoutMs);
        } while (result < 0 && errno == EINTR);
        return result > 0;
    }
    QElapsedTimer timer;
    timer.start();
    while (!isZombieOrGone(pid)) {
        if (timer.elapsed() >= timeoutMs)
            return false;
        QThread::msleep(10);
    }
    return true;
}

bool sendSignal(pid_t pid, int pidFd, int signal)
{
#ifdef SYS_pidfd_send_signal
    if (pidFd >= 0)
        return syscall(SYS_pidfd_send_signal, pidFd, signal, nullptr, 0) == 0 || errno == ESRCH;
#endif
    return kill(pid, signal) == 0 || errno == ESRCH;
}

} // namespace

LinuxProcessManager::Match LinuxProcessManager::findProcess(const QString &executableName)
{
    const uid_t self = getuid();
    const pid_t ownPid = getpid();
    const QDir proc(QStringLiteral("/proc"));
    QList<pid_t> pids;
    for (const QString &entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool isNumber = false;
        const pid_t pid = static_cast<pid_t>(entry.toInt(&isNumber));
        if (isNumber && pid != ownPid)
            pids.append(pid);
    }
    std::sort(pids.begin(), pids.end());

    for (pid_t pid : pids) {
        struct stat info
        {};
        if (::stat(QStringLiteral("/proc/%1").arg(pid).toLocal8Bit().constData(), &info) != 0 ||
            info.st_uid != self || isZombieOrGone(pid))
            continue;
        const QString path = executablePathOf(pid);
        if (!path.isEmpty() &&
            QFileInfo(path).fileName().compare(executableName, Qt::CaseInsensitive) == 0)
            return Match{pid, path};
    }
    return Match{};
}

bool LinuxProcessManager::stop(pid_t pid, int timeoutMs)
{
    const int pidFd = openPidFd(pid);
    if (pidFd < 0 && errno == ESRCH)
        return true; // it ended between the search and now
    bool ended = false;
    if (timeoutMs != 0 && sendSignal(pid, pidFd, SIGTERM))
        ended = waitForExit(pid, pidFd, timeoutMs);
    if (!ended && sendSignal(pid, pidFd, SIGKILL))
        ended = waitForExit(pid, pidFd, KillWaitMs);
    if (pidFd >= 0)
        close(pidFd);
    return ended;
}

bool LinuxProcessManager::stopProcess(const QString &executableName, int timeoutMs)
{
    const Match match = findProcess(executableName);
    return match.pid > 0 && stop(match.pid, timeoutMs);
}

QString LinuxProcessManager::commandLine(const QStringList &commandParts)
{
    if (commandParts.isEmpty())
        return QString();
    QString command = commandParts.first();
    for (qsizetype i = 1; i < commandParts.size(); ++i)
        command += QLatin1String(" \"") + commandParts.at(i) + QLatin1Char('"');
    return command;
}

bool LinuxProcessManager::startProcess(const QStringList &commandParts)
{
    if (commandParts.isEmpty())
        return false;
    // The first part is a command line of its own; every further part is one argument, as
    // the quotes of commandLine() say. Passing them directly keeps empty parts and quotes.
    QStringList words = QProcess::splitCommand(commandParts.first());
    if (words.isEmpty())
        return false;
    const QString program = words.takeFirst();
    words += commandParts.mid(1);
    return QProcess::startDetached(program, words);
}

bool LinuxProcessManager::startProcess(const QString &command)
{
    return startProcess(QStringList{command});
}

bool LinuxProcessManager::restartProcess(const QString &executableName, int timeoutMs)
{
    const Match match = findProcess(executableName);
    if (match.pid <= 0 || !stop(match.pid, timeoutMs))
        return false;
    // Quoted, so that a path with blanks stays one word.
    return startProcess(QStringList{QLatin1Char('"') + match.executablePath + QLatin1Char('"')});
}
