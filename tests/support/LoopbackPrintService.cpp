#include "LoopbackPrintService.h"

#include "ProcessProbe.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <QtCore/qtestsupport_core.h>

#include <cerrno>
#include <sys/socket.h>

namespace {

// A client that connects but never registers, or never answers the text, is given this long
// before a flapping service moves on; a busy machine may slow the client down, never this much.
const int RegistrationWaitMs = 30000;
const int ReplyWaitMs = 30000;

} // namespace

LoopbackPrintService::LoopbackPrintService(const QString &address, QObject *parent)
    : QObject(parent)
    , m_address(address)
{
    m_clock.start();
    m_holdTimer.setSingleShot(true);
    m_holdTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_holdTimer, &QTimer::timeout, this, &LoopbackPrintService::holdEnded);
    connect(&m_server, &QTcpServer::newConnection, this, &LoopbackPrintService::accept);
}

LoopbackPrintService::~LoopbackPrintService()
{
    for (QTcpSocket *socket : findChildren<QTcpSocket *>())
        socket->disconnect(this);
}

bool LoopbackPrintService::listen()
{
    m_refusing = false;
    return m_server.isListening() || m_server.listen(QHostAddress(m_address), 21326);
}

void LoopbackPrintService::accept()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        if (m_flapping && (m_held >= 0 || isFlappingDone())) {
            m_overlapping += m_held >= 0 ? 1 : 0;
            socket->abort();
            socket->deleteLater();
            continue;
        }
        socket->setParent(this);
        const int index = int(m_connections.size());
        Connection connection;
        connection.socket = socket;
        connection.acceptedAt = m_clock.elapsed();
        m_connections.append(connection);
        connect(socket, &QTcpSocket::readyRead, this, [this, index] { readBytes(index); });
        connect(socket, &QTcpSocket::disconnected, this, [this, index] { closedByPeer(index); });
        emit connectionAccepted(index);
        if (m_flapping)
            hold(index);
    }
}

void LoopbackPrintService::readBytes(int connection)
{
    Connection &entry = m_connections[connection];
    if (entry.socket)
        entry.bytes.append(entry.socket->readAll());
    if (connection == m_held)
        holdProgressed();
}

void LoopbackPrintService::closedByPeer(int connection)
{
    Connection &entry = m_connections[connection];
    if (entry.open)
        entry.closedAt = m_clock.elapsed();
    entry.open = false;
    release(connection);
    if (connection == m_held) { // the client gave the connection up by itself
        m_held = -1;
        m_holdTimer.stop();
        if (++m_dropped == m_flapping->cycles)
            stopListening();
    }
}

void LoopbackPrintService::release(int connection)
{
    Connection &entry = m_connections[connection];
    if (QTcpSocket *socket = std::exchange(entry.socket, nullptr)) {
        socket->disconnect(this);
        socket->deleteLater();
    }
    // A read keeps a buffer far larger than a connection's few texts; a flapping service keeps
    // hundreds of connections in the process whose memory it samples.
    entry.bytes.squeeze();
}

QStringList LoopbackPrintService::texts(int connection) const
{
    QList<QByteArray> pieces = received(connection).split('\0');
    pieces.removeLast(); // the bytes after the last NUL are no text yet
    QStringList result;
    for (const QByteArray &piece : pieces)
        result.append(QString::fromUtf8(piece));
    return result;
}

QList<qint64> LoopbackPrintService::reconnectionDelays() const
{
    QList<qint64> delays;
    for (qsizetype i = 1; i < m_connections.size(); ++i) {
        if (m_connections[i - 1].closedAt >= 0)
            delays.append(m_connections[i].acceptedAt - m_connections[i - 1].closedAt);
    }
    return delays;
}

bool LoopbackPrintService::waitForConnections(int count, int timeoutMs)
{
    return QTest::qWaitFor([&] { return connectionCount() >= count; }, timeoutMs);
}

bool LoopbackPrintService::waitForTexts(int connection, int count, int timeoutMs)
{
    return QTest::qWaitFor([&] { return texts(connection).size() >= count; }, timeoutMs);
}

bool LoopbackPrintService::waitForClose(int connection, int timeoutMs)
{
    return QTest::qWaitFor([&] { return connection < connectionCount() && !isOpen(connection); },
                           timeoutMs);
}

void LoopbackPrintService::send(int connection, const QByteArray &bytes)
{
    if (QTcpSocket *socket = m_connections.at(connection).socket) {
        socket->write(bytes);
        socket->flush();
    }
}

qint64 LoopbackPrintService::unsent(int connection) const
{
    const QTcpSocket *socket = m_connections.value(connection).socket;
    return socket ? socket->bytesToWrite() : 0;
}

void LoopbackPrintService::sendText(int connection, const QString &text)
{
    send(connection, text.toUtf8() + '\0');
}

QTcpSocket *LoopbackPrintService::closeByUs(int connection)
{
    Connection &entry = m_connections[connection];
    entry.closedByUs = true;
    if (entry.open)
        entry.closedAt = m_clock.elapsed();
    entry.open = false;
    return entry.socket;
}

void LoopbackPrintService::close(int connection)
{
    // The socket goes once the close is through, after what was sent before it.
    if (QTcpSocket *socket = closeByUs(connection))
        socket->disconnectFromHost();
}

void LoopbackPrintService::reset(int connection)
{
    if (QTcpSocket *socket = closeByUs(connection)) {
        // A zero linger time makes the kernel answer the close with a reset.
        const linger option{1, 0};
        ::setsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &option,
                     sizeof option);
        socket->abort();
    }
    release(connection);
}

void LoopbackPrintService::hold(int connection)
{
    if (std::exchange(m_closeNextOnAccept, false)) {
        m_connections[connection].closedOnAccept = true;
        close(connection);
        return;
    }
    m_held = connection;
    m_hold = Hold::AwaitingRegistration;
    m_holdTimer.start(RegistrationWaitMs);
    holdProgressed();
}

void LoopbackPrintService::holdProgressed()
{
    const QStringList received = texts(m_held);
    if (m_hold == Hold::AwaitingRegistration && !received.isEmpty()) {
        // The same point of every connection: registered, nothing else under way.
        Connection &entry = m_connections[m_held];
        const ProcessProbe probe(m_flapping->sampledPid);
        entry.descriptors = probe.openFileDescriptors();
        entry.residentKiB = probe.residentKiB();
        if (m_flapping->exchangeText)
            sendText(m_held, Text);
        m_hold = Hold::Holding;
        m_holdTimer.start(m_flapping->holdMs);
    } else if (m_hold == Hold::AwaitingReply && received.contains(Reply)) {
        drop();
    }
}

void LoopbackPrintService::holdEnded()
{
    if (m_hold == Hold::Holding && m_flapping->exchangeText && !texts(m_held).contains(Reply)) {
        m_hold = Hold::AwaitingReply;
        m_holdTimer.start(ReplyWaitMs);
        return;
    }
    drop();
}

void LoopbackPrintService::drop()
{
    const int connection = std::exchange(m_held, -1);
    m_hold = Hold::None;
    m_holdTimer.stop();
    Connection &entry = m_connections[connection];
    QTcpSocket *socket = entry.socket;
    // What the client sent up to now counts; what follows is the drop's own business.
    entry.bytes.append(socket->readAll());
    disconnect(socket, &QTcpSocket::readyRead, this, nullptr);
    const Drop how = m_flapping->drops.at(m_dropped % m_flapping->drops.size());
    const bool last = ++m_dropped == m_flapping->cycles;
    // An end of stream or a reset the event loop has not reported yet still counts.
    char byte;
    const ssize_t peeked =
        ::recv(int(socket->socketDescriptor()), &byte, 1, MSG_PEEK | MSG_DONTWAIT);
    if (peeked == 0 || (peeked < 0 && errno != EAGAIN && errno != EWOULDBLOCK)) {
        entry.open = false;
        entry.closedAt = m_clock.elapsed();
        release(connection);
    } else {
        if (m_flapping->exchangeText)
            sendText(connection, Text);
        if (how == Drop::Reset)
            reset(connection);
        else
            close(connection);
        if (how == Drop::Refuse) {
            stopListening();
            m_refusing = true;
        }
        m_closeNextOnAccept = how == Drop::CloseNextOnAccept;
    }
    if (last) {
        stopListening();
        m_refusing = false;
    }
}
