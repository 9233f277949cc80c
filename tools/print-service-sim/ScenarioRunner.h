#pragma once

#include "ScenarioScript.h"

#include <QList>
#include <QObject>
#include <QStringList>
#include <QTimer>

class SimulatorHttpServer;
class SimulatorServer;

// Carries out scenario steps one after the other against the simulator's clients. An
// expect takes the oldest received text not yet taken by an earlier expect and must match
// it whole within the time-out; a send waits as long for a client to be connected.
class ScenarioRunner : public QObject
{
    Q_OBJECT

public:
    ScenarioRunner(SimulatorServer *server, int timeoutMs, QObject *parent = nullptr);

    // The file server of http steps; without one they fail.
    void setHttpServer(SimulatorHttpServer *http) { m_http = http; }
    // Queues a step; it runs once the steps before it are done.
    void append(const ScenarioStep &step);
    // Drops the queued steps (after a failure, in a script).
    void clear();
    bool isBusy() const { return m_current.has_value() || !m_queue.isEmpty(); }
    int failures() const { return m_failures; }

signals:
    // The step's line and what went wrong.
    void stepFailed(int line, const QString &why);
    void stepSucceeded(const ScenarioStep &step);
    // Every queued step is done.
    void finished();

private:
    void runNext();
    void start(const ScenarioStep &step);
    void textArrived(const QString &text);
    void clientArrived();
    void timedOut();
    bool tryExpect();
    void succeed();
    void fail(const QString &why);

    SimulatorServer *m_server;
    SimulatorHttpServer *m_http = nullptr;
    int m_timeoutMs;
    QList<ScenarioStep> m_queue;
    std::optional<ScenarioStep> m_current;
    QStringList m_unconsumed;
    QTimer m_timer;
    int m_failures = 0;
    bool m_scheduled = false;
};
