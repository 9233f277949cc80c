#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <sys/types.h>

// One program started with posix_spawn, timed from the moment just before the spawn. Its
// standard output is a pipe the driver reads lines from; its standard error is passed on.
// The destructor kills a program still running, so no benchmark leaves a process behind.
class SpawnedProcess
{
public:
    SpawnedProcess() = default;
    ~SpawnedProcess();
    SpawnedProcess(const SpawnedProcess &) = delete;
    SpawnedProcess &operator=(const SpawnedProcess &) = delete;

    bool start(const QString &program, const QStringList &arguments,
               const QProcessEnvironment &environment);
    pid_t pid() const { return m_pid; }
    // CLOCK_MONOTONIC nanoseconds just before the spawn.
    std::uint64_t startedNs() const { return m_startedNs; }

    // The next line of standard output without its line feed; empty on time-out or end.
    QByteArray readLine(int timeoutMs);
    // SIGTERM, then SIGKILL when the program has not ended within the time-out.
    bool terminate(int timeoutMs);
    // Waits for the end; false on time-out. Sets exitCode() and peakRssKb().
    bool waitFinished(int timeoutMs);
    bool running() const { return m_pid > 0; }
    int exitCode() const { return m_exitCode; }
    // The largest resident size the program ever had, from wait4.
    long peakRssKb() const { return m_peakRssKb; }

private:
    pid_t m_pid = -1;
    int m_stdout = -1;
    std::uint64_t m_startedNs = 0;
    int m_exitCode = -1;
    long m_peakRssKb = 0;
    QByteArray m_pending;
};
