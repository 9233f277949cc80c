#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QTcpServer>

class QTcpSocket;

// A Print Service for tests on a loopback address: it accepts connections, keeps the bytes
// each one received, and sends, closes or resets on demand, so tests can check what the
// client wrote on which connection. It splits texts at NUL bytes on its own, independently
// of the client's framing code.
class LoopbackPrintService : public QObject
{
    Q_OBJECT

public:
    // Listens on the Print Service port of the address.
    explicit LoopbackPrintService(const QString &address, QObject *parent = nullptr);
    ~LoopbackPrintService() override;

    bool listen();
    void stopListening();

    int connectionCount() const { return int(m_connections.size()); }
    QByteArray received(int connection) const;
    // The complete (NUL-terminated) texts received on the connection, in order.
    QStringList texts(int connection) const;
    bool isOpen(int connection) const;
    bool closedByClient(int connection) const;
    // Milliseconds since this object was made.
    qint64 acceptedAt(int connection) const;
    qint64 closedAt(int connection) const;

    // Each waits at most timeoutMs, running the event loop; false on time-out.
    bool waitForConnections(int count, int timeoutMs = 5000);
    bool waitForTexts(int connection, int count, int timeoutMs = 5000);
    bool waitForClose(int connection, int timeoutMs = 5000);

    void send(int connection, const QByteArray &bytes);
    void sendText(int connection, const QString &text);
    // Orderly close (FIN).
    void close(int connection);
    // Abortive close (RST), as when the service dies.
    void reset(int connection);

signals:
    void connectionAccepted(int connection);

private:
    struct Connection
    {
        QTcpSocket *socket = nullptr;
        QByteArray bytes;
        bool open = true;
        bool closedByUs = false;
        qint64 acceptedAt = 0;
        qint64 closedAt = -1;
    };

    void accept();
    // Marks the connection closed by this side and returns it.
    Connection &closeByUs(int connection);

    QTcpServer m_server;
    QString m_address;
    QList<Connection> m_connections;
    QElapsedTimer m_clock;
};
