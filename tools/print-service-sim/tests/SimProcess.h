#pragma once

#include <QProcess>
#include <QStringList>

// Runs the ondps-sim program for a test and waits until it listens.
class SimProcess
{
public:
    SimProcess();
    ~SimProcess();

    // Starts it with the arguments; true once it reports that it listens.
    bool start(const QStringList &arguments);
    // Waits for the end; false when it did not end in time (it is then killed).
    bool finish(int timeoutMs = 20000);
    int exitCode() const { return m_process.exitCode(); }
    QString output() const { return m_output; }
    QString errors() const { return m_errors; }
    QProcess &process() { return m_process; }

private:
    void collect();

    QProcess m_process;
    QString m_output;
    QString m_errors;
};
