#include "SimulatorServer.h"

#include "SimulatorConnection.h"
#include "TrafficLog.h"

#include <QTcpSocket>

SimulatorServer::SimulatorServer(TrafficLog *log, int unterminatedTextDelayMs, QObject *parent)
    : QObject(parent)
    , m_log(log)
    , m_unterminatedTextDelayMs(unterminatedTextDelayMs)
{
    connect(&m_server, &QTcpServer::newConnection, this, &SimulatorServer::accept);
}

bool SimulatorServer::listen(const QHostAddress &address, quint16 port)
{
    m_address = address;
    if (!m_server.listen(address, port))
        return false;
    // Port 0 picks a free port; reopening keeps it.
    m_port = m_server.serverPort();
    m_log->event(0, QStringLiteral("listening on %1:%2").arg(address.toString()).arg(m_port));
    return true;
}

bool SimulatorServer::reopen()
{
    if (m_server.isListening())
        return true;
    return listen(m_address, m_port);
}

void SimulatorServer::close()
{
    const auto connections = m_connections;
    for (SimulatorConnection *connection : connections)
        connection->close();
    if (m_server.isListening()) {
        m_server.close();
        m_log->event(0, QStringLiteral("stopped listening"));
    }
}

bool SimulatorServer::send(const QString &text)
{
    SimulatorConnection *connection = current();
    return connection && connection->send(text);
}

void SimulatorServer::accept()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        auto *connection =
            new SimulatorConnection(++m_accepted, socket, m_log, m_unterminatedTextDelayMs, this);
        m_connections.append(connection);
        connect(connection, &SimulatorConnection::textReceived, this,
                &SimulatorServer::textReceived);
        connect(connection, &SimulatorConnection::closed, this, [this, connection] {
            m_connections.removeOne(connection);
            connection->deleteLater();
        });
        emit clientConnected();
    }
}

SimulatorConnection *SimulatorServer::current() const
{
    for (auto it = m_connections.crbegin(); it != m_connections.crend(); ++it) {
        if ((*it)->isOpen())
            return *it;
    }
    return nullptr;
}
