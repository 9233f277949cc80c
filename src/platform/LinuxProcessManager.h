#pragma once

#include "core/ProcessManagerInterface.h"

#include <sys/types.h>

// ProcessManagerInterface over /proc and signals: processes of the calling user are matched
// by the base name of their executable (letter case ignored), asked to end with SIGTERM and
// killed with SIGKILL after the time-out. It never stops the calling process itself.
class LinuxProcessManager : public ProcessManagerInterface
{
public:
    bool stopProcess(const QString &executableName, int timeoutMs) override;
    bool startProcess(const QStringList &commandParts) override;
    bool startProcess(const QString &command) override;
    bool restartProcess(const QString &executableName, int timeoutMs) override;

    // The command line the list form of startProcess runs.
    static QString commandLine(const QStringList &commandParts);

private:
    struct Match
    {
        pid_t pid = 0;
        QString executablePath;
    };
    static Match findProcess(const QString &executableName);
    static bool stop(pid_t pid, int timeoutMs);
};
