#include "SpawnedProcess.h"

#include "nulpeer.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

SpawnedProcess::~SpawnedProcess()
{
    if (m_pid > 0) {
        ::kill(m_pid, SIGKILL);
        waitFinished(5000);
    }
    if (m_stdout >= 0)
        ::close(m_stdout);
}

bool SpawnedProcess::start(const QString &program, const QStringList &arguments,
                           const QProcessEnvironment &environment)
{
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) < 0)
        return false;
    std::vector<std::string> argumentBytes{program.toStdString()};
    for (const QString &argument : arguments)
        argumentBytes.push_back(argument.toStdString());
    std::vector<std::string> environmentBytes;
    for (const QString &entry : environment.toStringList())
        environmentBytes.push_back(entry.toStdString());
    std::vector<char *> argv;
    for (std::string &argument : argumentBytes)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::vector<char *> envp;
    for (std::string &entry : environmentBytes)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    m_startedNs = nul_now_ns();
    const int failure = posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    if (failure != 0) {
        m_pid = -1;
        ::close(pipeFds[0]);
        return false;
    }
    m_stdout = pipeFds[0];
    return true;
}

QByteArray SpawnedProcess::readLine(int timeoutMs)
{
    const std::uint64_t deadline = nul_now_ns() + std::uint64_t(timeoutMs) * 1000000u;
    for (;;) {
        const qsizetype end = m_pending.indexOf('\n');
        if (end >= 0) {
            const QByteArray line = m_pending.left(end);
            m_pending.remove(0, end + 1);
            return line;
        }
        const std::uint64_t now = nul_now_ns();
        if (m_stdout < 0 || now >= deadline)
            return QByteArray();
        pollfd entry{m_stdout, POLLIN, 0};
        if (::poll(&entry, 1, int((deadline - now) / 1000000u) + 1) <= 0)
            continue;
        char bytes[4096];
        const ssize_t got = ::read(m_stdout, bytes, sizeof bytes);
        if (got <= 0) {
            ::close(m_stdout);
            m_stdout = -1;
            return QByteArray();
        }
        m_pending.append(bytes, got);
    }
}

bool SpawnedProcess::terminate(int timeoutMs)
{
    if (m_pid <= 0)
        return true;
    ::kill(m_pid, SIGTERM);
    if (waitFinished(timeoutMs))
        return true;
    ::kill(m_pid, SIGKILL);
    waitFinished(5000);
    return false;
}

bool SpawnedProcess::waitFinished(int timeoutMs)
{
    if (m_pid <= 0)
        return true;
    const std::uint64_t deadline = nul_now_ns() + std::uint64_t(timeoutMs) * 1000000u;
    for (;;) {
        int status = 0;
        rusage usage{};
        const pid_t ended = ::wait4(m_pid, &status, WNOHANG, &usage);
        if (ended == m_pid || (ended < 0 && errno == ECHILD)) {
            m_exitCode = ended == m_pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            m_peakRssKb = usage.ru_maxrss;
            m_pid = -1;
            return true;
        }
        if (nul_now_ns() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}
