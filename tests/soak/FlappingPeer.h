#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QTcpServer>
#include <QTimer>

class QTcpSocket;

// A Print Service that goes away over and over: it accepts the client's connection, waits for
// the registration, keeps the connection for a while (optionally answering one text first)
// and then drops it, by an orderly close and by a reset in turn, for a given number of
// cycles. Per cycle it records what the client sent, whether the client let go of the
// connection before the peer did, and the client process's descriptors and memory at the
// same point of every cycle (just after the registration). It never keeps more than one
// connection's bytes.
class FlappingPeer : public QObject
{
    Q_OBJECT

public:
    struct Cycle
    {
        bool registrationFirst = false;
        int registrations = 0;
        // The client closed or reset the connection while the peer still held it.
        bool closedByClient = false;
        // With a text exchange: the right reply arrived before the drop.
        bool replied = false;
        bool droppedWithReset = false;
        int fileDescriptors = -1;
        qint64 residentKiB = -1;
        qint64 acceptedAtMs = -1;
        qint64 droppedAtMs = -1;
    };

    static inline const QString Text = QStringLiteral("80|20250201090503");
    static inline const QString Reply = QStringLiteral("Message Not Handled: 80|20250201090503");

    // The connection is held holdMs from the registration on. With exchangeText the peer sends
    // Text once the registration is in, holds the connection until Reply is in too, and sends
    // Text again just before it drops the connection (so that reply meets a closed or reset
    // connection).
    FlappingPeer(const QString &address, const QString &registration, bool exchangeText, int holdMs,
                 QObject *parent = nullptr);
    ~FlappingPeer() override;

    // The process whose descriptors and memory are sampled each cycle.
    void setSampledProcess(qint64 pid) { m_pid = pid; }
    // Listens on the Print Service port of the address and runs until `cycles` connections
    // were dropped; then it stops listening.
    bool start(int cycles);
    bool isFinished() const { return m_cycles.size() == m_wanted && !m_socket; }

    const QList<Cycle> &cycles() const { return m_cycles; }
    // Connections that arrived while the peer still held another one.
    int overlappingConnections() const { return m_overlapping; }
    // Milliseconds from each drop to the next connection.
    QList<qint64> reconnectionDelays() const;

private:
    void accept();
    void readTexts();
    void textReceived(const QByteArray &text);
    void lostByClient();
    void holdEnded();
    void drop();

    QTcpServer m_server;
    QString m_address;
    QByteArray m_registration;
    bool m_exchangeText;
    int m_holdMs;
    qint64 m_pid = -1;
    int m_wanted = 0;
    int m_overlapping = 0;

    QTcpSocket *m_socket = nullptr; // the connection held now
    QByteArray m_pending;           // bytes of the current connection after its last NUL
    int m_textsOnConnection = 0;
    bool m_awaitingReply = false; // the hold time is over, the reply is not in yet
    QTimer m_holdTimer;
    QElapsedTimer m_clock;
    QList<Cycle> m_cycles;
};
