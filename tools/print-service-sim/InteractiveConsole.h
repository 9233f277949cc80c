#pragma once

#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>

class ScenarioRunner;

// The prompt used when no script is given: every line typed on standard input is a step
// ("expect", "send", "wait", "close", "reopen", "http"), plus "help" and "quit". Results and
// errors go to standard error, so that standard output carries only the traffic log.
class InteractiveConsole : public QObject
{
    Q_OBJECT

public:
    InteractiveConsole(ScenarioRunner *runner, QObject *parent = nullptr);

    void start();

signals:
    // The user typed "quit" and the steps typed before it are done.
    void quitRequested();

private:
    void readInput();
    void handleLine(const QString &line);
    void prompt();

    ScenarioRunner *m_runner;
    QSocketNotifier m_notifier;
    QByteArray m_pending;
    int m_lineNumber = 0;
    bool m_terminal = false;
    bool m_quitting = false;
};
