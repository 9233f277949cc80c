#pragma once

#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QTcpServer>

class SimulatorConnection;
class TrafficLog;

// The listening side of the simulator: accepts clients on one address and port, and sends
// to the newest connection still open. close() drops every client and stops listening, so
// that the client's reconnections are refused until reopen().
class SimulatorServer : public QObject
{
    Q_OBJECT

public:
    SimulatorServer(TrafficLog *log, int unterminatedTextDelayMs, QObject *parent = nullptr);

    bool listen(const QHostAddress &address, quint16 port);
    bool reopen();
    void close();

    bool isListening() const { return m_server.isListening(); }
    quint16 port() const { return m_port; }
    QString errorString() const { return m_server.errorString(); }
    bool hasClient() const { return current() != nullptr; }
    // False when no client is connected.
    bool send(const QString &text);

signals:
    void textReceived(const QString &text);
    void clientConnected();

private:
    void accept();
    SimulatorConnection *current() const;

    QTcpServer m_server;
    TrafficLog *m_log;
    int m_unterminatedTextDelayMs;
    QHostAddress m_address;
    quint16 m_port = 0;
    // Open connections, oldest first; closed ones are deleted.
    QList<SimulatorConnection *> m_connections;
    int m_accepted = 0;
};
