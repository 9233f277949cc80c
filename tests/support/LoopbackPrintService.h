#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QTcpServer>
#include <QTimer>

#include <optional>

class QTcpSocket;

// A Print Service for tests on a loopback address. It accepts connections, keeps the bytes
// each one received, and sends, closes or resets on demand, so tests can check what the
// client wrote on which connection. Flapping, it goes away over and over by itself: it holds
// each connection from the client's registration on, optionally exchanging a text, drops it in
// one of several ways in turn, and samples the client process's descriptors and memory at the
// same point of every connection. It splits texts at NUL bytes on its own, independently of
// the client's framing code.
class LoopbackPrintService : public QObject
{
    Q_OBJECT

public:
    // How a flapping service ends a connection it held.
    enum class Drop {
        Close,             // orderly close (FIN)
        Reset,             // abortive close (RST), as when the service dies
        Refuse,            // close and stop listening until listen() is called again
        CloseNextOnAccept, // close, and close the next connection as soon as it arrives
    };
    struct Flapping
    {
        int cycles = 0; // connections held and dropped; then the service stops listening
        int holdMs = 0; // from the registration on
        QString registration;
        // Sends Text once the registration is in, holds the connection until Reply is in too,
        // and sends Text again just before the drop, so that its reply meets a closed
        // connection.
        bool exchangeText = false;
        QList<Drop> drops{Drop::Close, Drop::Reset};
        qint64 sampledPid = -1;
    };
    static inline const QString Text = QStringLiteral("80|20250201090503");
    static inline const QString Reply = QStringLiteral("Message Not Handled: 80|20250201090503");

    // Listens on the Print Service port of the address.
    explicit LoopbackPrintService(const QString &address, QObject *parent = nullptr);
    ~LoopbackPrintService() override;

    bool listen();
    void stopListening() { m_server.close(); }
    // Listens and flaps until flapping.cycles connections were held and dropped.
    bool startFlapping(const Flapping &flapping)
    {
        m_flapping = flapping;
        return listen();
    }
    bool isFlappingDone() const
    {
        return m_flapping && m_dropped >= m_flapping->cycles && m_held < 0;
    }
    // A Refuse drop stopped listening and listen() was not called since.
    bool isRefusing() const { return m_refusing; }
    // Connections that arrived while a flapping service held another one; they were reset.
    int overlappingConnections() const { return m_overlapping; }

    int connectionCount() const { return int(m_connections.size()); }
    QByteArray received(int connection) const { return m_connections.value(connection).bytes; }
    // The complete (NUL-terminated) texts received on the connection, in order.
    QStringList texts(int connection) const;
    bool isOpen(int connection) const
    {
        return connection < connectionCount() && m_connections[connection].open;
    }
    bool closedByClient(int connection) const
    {
        return connection < connectionCount() && !isOpen(connection) &&
               !m_connections[connection].closedByUs;
    }
    bool closedOnAccept(int connection) const
    {
        return m_connections.value(connection).closedOnAccept;
    }
    // Milliseconds from each connection's close to the next connection.
    QList<qint64> reconnectionDelays() const;
    // The sampled process's open descriptors and resident memory when the connection's first
    // text was in; -1 when it was not sampled.
    int descriptorsAt(int connection) const { return m_connections.value(connection).descriptors; }
    qint64 residentKiBAt(int connection) const
    {
        return m_connections.value(connection).residentKiB;
    }

    // Each waits at most timeoutMs, running the event loop; false on time-out.
    bool waitForConnections(int count, int timeoutMs = 5000);
    bool waitForTexts(int connection, int count, int timeoutMs = 5000);
    bool waitForClose(int connection, int timeoutMs = 5000);

    void send(int connection, const QByteArray &bytes);
    // Bytes sent on the connection that the kernel has not taken yet.
    qint64 unsent(int connection) const;
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
        QTcpSocket *socket = nullptr; // null once the connection is closed
        QByteArray bytes;
        bool open = true;
        bool closedByUs = false;
        bool closedOnAccept = false;
        qint64 acceptedAt = 0; // milliseconds since this object was made
        qint64 closedAt = -1;
        int descriptors = -1;
        qint64 residentKiB = -1;
    };
    enum class Hold { None, AwaitingRegistration, Holding, AwaitingReply };

    void accept();
    void readBytes(int connection);
    void closedByPeer(int connection);
    void release(int connection);
    // Marks the connection closed by this side and returns its socket.
    QTcpSocket *closeByUs(int connection);
    void hold(int connection);
    void holdProgressed();
    void holdEnded();
    void drop();

    QTcpServer m_server;
    QString m_address;
    QList<Connection> m_connections;
    QElapsedTimer m_clock;

    std::optional<Flapping> m_flapping;
    int m_held = -1;
    Hold m_hold = Hold::None;
    int m_dropped = 0;
    int m_overlapping = 0;
    bool m_refusing = false;
    bool m_closeNextOnAccept = false;
    QTimer m_holdTimer;
};
