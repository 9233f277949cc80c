#include "ScenarioRunner.h"

#include "SimulatorHttpServer.h"
#include "SimulatorServer.h"
#include "TrafficLog.h"

ScenarioRunner::ScenarioRunner(SimulatorServer *server, int timeoutMs, QObject *parent)
    : QObject(parent)
    , m_server(server)
    , m_timeoutMs(timeoutMs)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &ScenarioRunner::timedOut);
    connect(m_server, &SimulatorServer::textReceived, this, &ScenarioRunner::textArrived);
    connect(m_server, &SimulatorServer::clientConnected, this, &ScenarioRunner::clientArrived);
}

void ScenarioRunner::append(const ScenarioStep &step)
{
    m_queue.append(step);
    runNext();
}

void ScenarioRunner::clear()
{
    m_queue.clear();
    m_current.reset();
    m_timer.stop();
}

void ScenarioRunner::runNext()
{
    // Steps start from the event loop, never inside the call that queued or ended the
    // previous one, so a long script cannot grow the stack.
    if (m_current || m_scheduled)
        return;
    if (m_queue.isEmpty()) {
        emit finished();
        return;
    }
    m_scheduled = true;
    QTimer::singleShot(0, this, [this] {
        m_scheduled = false;
        if (m_current || m_queue.isEmpty())
            return;
        start(m_queue.takeFirst());
    });
}

void ScenarioRunner::start(const ScenarioStep &step)
{
    m_current = step;
    switch (step.kind) {
    case ScenarioStep::Kind::Expect:
        if (!tryExpect())
            m_timer.start(m_timeoutMs);
        return;
    case ScenarioStep::Kind::Send:
        if (m_server->send(ScenarioScript::expandSendText(step.argument)))
            succeed();
        else
            m_timer.start(m_timeoutMs); // until a client connects
        return;
    case ScenarioStep::Kind::Wait:
        m_timer.start(step.milliseconds);
        return;
    case ScenarioStep::Kind::Close:
        m_server->close();
        succeed();
        return;
    case ScenarioStep::Kind::Reopen:
        if (m_server->reopen())
            succeed();
        else
            fail(QStringLiteral("reopen: cannot listen again: %1").arg(m_server->errorString()));
        return;
    case ScenarioStep::Kind::Http:
        if (m_http) {
            m_http->addRule(step);
            succeed();
        } else {
            fail(QStringLiteral("http: no files are served (see --http-port)"));
        }
        return;
    }
}

void ScenarioRunner::textArrived(const QString &text)
{
    m_unconsumed.append(text);
    if (m_current && m_current->kind == ScenarioStep::Kind::Expect)
        tryExpect();
}

void ScenarioRunner::clientArrived()
{
    if (m_current && m_current->kind == ScenarioStep::Kind::Send &&
        m_server->send(ScenarioScript::expandSendText(m_current->argument))) {
        succeed();
    }
}

bool ScenarioRunner::tryExpect()
{
    if (m_unconsumed.isEmpty())
        return false;
    const QString text = m_unconsumed.takeFirst();
    if (m_current->pattern.match(text).hasMatch())
        succeed();
    else
        fail(QStringLiteral("expect %1: received \"%2\"")
                 .arg(m_current->argument, TrafficLog::escaped(text)));
    return true;
}

void ScenarioRunner::timedOut()
{
    if (!m_current)
        return;
    switch (m_current->kind) {
    case ScenarioStep::Kind::Expect:
        fail(QStringLiteral("expect %1: nothing received within %2 ms")
                 .arg(m_current->argument)
                 .arg(m_timeoutMs));
        return;
    case ScenarioStep::Kind::Send:
        fail(QStringLiteral("send: no client connected within %1 ms").arg(m_timeoutMs));
        return;
    default:
        succeed();
        return;
    }
}

void ScenarioRunner::succeed()
{
    m_timer.stop();
    const ScenarioStep step = *m_current;
    m_current.reset();
    emit stepSucceeded(step);
    runNext();
}

void ScenarioRunner::fail(const QString &why)
{
    m_timer.stop();
    const int line = m_current->line;
    m_current.reset();
    ++m_failures;
    emit stepFailed(line, why);
    runNext();
}
