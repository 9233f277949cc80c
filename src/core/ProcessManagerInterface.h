#pragma once

#include <QString>
#include <QStringList>

// Starts programs and stops a running program by its executable name, politely first.
// Every operation answers false when the process cannot be found or a system call fails.
class ProcessManagerInterface
{
public:
    virtual ~ProcessManagerInterface() = default;
    // Asks the first matching process of this user to end, waits up to timeoutMs, then
    // kills it; a timeout of 0 kills at once. True when it ended or was killed.
    virtual bool stopProcess(const QString &executableName, int timeoutMs) = 0;
    // The first element is the command as is; each further element is passed quoted.
    virtual bool startProcess(const QStringList &commandParts) = 0;
    virtual bool startProcess(const QString &command) = 0;
    // Stops the process as stopProcess does and starts its executable again.
    virtual bool restartProcess(const QString &executableName, int timeoutMs) = 0;
};
