#pragma once

#include "protocol/NulTextBuffer.h"

#include <QObject>
#include <QTimer>

class QTcpSocket;
class TrafficLog;

// One client connected to the simulator. It frames texts exactly as the client does
// (NUL-terminated UTF-8, an unterminated text handled after a pause, 1 MiB at most) and
// records every text in the traffic log.
class SimulatorConnection : public QObject
{
    Q_OBJECT

public:
    // Takes ownership of the socket.
    SimulatorConnection(int number, QTcpSocket *socket, TrafficLog *log,
                        int unterminatedTextDelayMs, QObject *parent = nullptr);

    int number() const { return m_number; }
    bool isOpen() const { return m_open; }
    // False when the connection is closed.
    bool send(const QString &text);
    void close();

signals:
    void textReceived(const QString &text);
    void closed();

private:
    void readAvailable();
    void flushUnterminated();
    void markClosed(const QString &how);

    int m_number;
    QTcpSocket *m_socket;
    TrafficLog *m_log;
    NulTextBuffer m_buffer;
    QTimer m_unterminatedTextTimer;
    bool m_open = true;
};
