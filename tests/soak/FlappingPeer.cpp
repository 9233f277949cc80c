#include "FlappingPeer.h"

#include "ProcessProbe.h"

#include <QHostAddress>
#include <QTcpSocket>

#include <cerrno>
#include <sys/socket.h>

namespace {

// A client that connects but never registers, or never answers the text, is given this long
// before the peer moves on; a busy machine may slow the client down, but never this much.
const int RegistrationWaitMs = 10000;
const int ReplyWaitMs = 10000;

} // namespace

FlappingPeer::FlappingPeer(const QString &address, const QString &registration, bool exchangeText,
                           int holdMs, QObject *parent)
    : QObject(parent)
    , m_address(address)
    , m_registration(registration.toUtf8())
    , m_exchangeText(exchangeText)
    , m_holdMs(holdMs)
{
    m_holdTimer.setSingleShot(true);
    m_holdTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_holdTimer, &QTimer::timeout, this, &FlappingPeer::holdEnded);
    connect(&m_server, &QTcpServer::newConnection, this, &FlappingPeer::accept);
}

FlappingPeer::~FlappingPeer()
{
    if (m_socket)
        m_socket->disconnect(this);
}

bool FlappingPeer::start(int cycles)
{
    m_wanted = cycles;
    m_clock.start();
    return m_server.listen(QHostAddress(m_address), 21326);
}

QList<qint64> FlappingPeer::reconnectionDelays() const
{
    QList<qint64> delays;
    for (qsizetype i = 1; i < m_cycles.size(); ++i) {
        if (m_cycles[i - 1].droppedAtMs >= 0)
            delays.append(m_cycles[i].acceptedAtMs - m_cycles[i - 1].droppedAtMs);
    }
    return delays;
}

void FlappingPeer::accept()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        if (m_socket || m_cycles.size() == m_wanted) {
            m_overlapping += m_socket ? 1 : 0;
            socket->abort();
            socket->deleteLater();
            continue;
        }
        m_socket = socket;
        m_pending.clear();
        m_textsOnConnection = 0;
        m_awaitingReply = false;
        Cycle cycle;
        cycle.acceptedAtMs = m_clock.elapsed();
        m_cycles.append(cycle);
        connect(socket, &QTcpSocket::readyRead, this, &FlappingPeer::readTexts);
        connect(socket, &QTcpSocket::disconnected, this, &FlappingPeer::lostByClient);
        connect(socket, &QTcpSocket::errorOccurred, this, &FlappingPeer::lostByClient);
        m_holdTimer.start(RegistrationWaitMs);
        readTexts();
    }
}

void FlappingPeer::readTexts()
{
    if (!m_socket)
        return;
    m_pending.append(m_socket->readAll());
    qsizetype nul;
    while (m_socket && (nul = m_pending.indexOf('\0')) >= 0) {
        const QByteArray text = m_pending.left(nul);
        m_pending.remove(0, nul + 1);
        textReceived(text);
    }
}

void FlappingPeer::textReceived(const QByteArray &text)
{
    Cycle &cycle = m_cycles.last();
    const bool first = m_textsOnConnection++ == 0;
    if (text == m_registration)
        ++cycle.registrations;
    else if (m_exchangeText && text == Reply.toUtf8())
        cycle.replied = true;
    if (cycle.replied && m_awaitingReply) {
        drop();
        return;
    }
    if (!first)
        return;

    // The same point of every cycle: connected, registered, nothing else under way.
    cycle.registrationFirst = text == m_registration;
    const ProcessProbe probe(m_pid);
    cycle.fileDescriptors = probe.openFileDescriptors();
    cycle.residentKiB = probe.residentKiB();
    if (m_exchangeText) {
        m_socket->write(Text.toUtf8().append('\0'));
        m_socket->flush();
    }
    m_holdTimer.start(m_holdMs);
}

void FlappingPeer::lostByClient()
{
    QTcpSocket *socket = m_socket;
    if (!socket)
        return;
    m_cycles.last().closedByClient = true;
    m_holdTimer.stop();
    m_socket = nullptr;
    socket->disconnect(this);
    socket->deleteLater();
    if (m_cycles.size() == m_wanted)
        m_server.close();
}

void FlappingPeer::holdEnded()
{
    // The connection is held at least the hold time, and with a text until its reply is in.
    if (m_exchangeText && m_socket && !m_cycles.last().replied && !m_awaitingReply) {
        m_awaitingReply = true;
        m_holdTimer.start(ReplyWaitMs);
        return;
    }
    drop();
}

void FlappingPeer::drop()
{
    QTcpSocket *socket = m_socket;
    if (!socket)
        return;
    // Anything the client sent up to now counts; what follows is the drop's own business.
    m_awaitingReply = false;
    readTexts();
    if (!m_socket)
        return;
    m_holdTimer.stop();
    Cycle &cycle = m_cycles.last();
    // An end of stream or a reset the event loop has not reported yet still counts.
    char byte;
    const ssize_t peeked =
        ::recv(int(socket->socketDescriptor()), &byte, 1, MSG_PEEK | MSG_DONTWAIT);
    if (peeked == 0 || (peeked < 0 && errno != EAGAIN && errno != EWOULDBLOCK))
        cycle.closedByClient = true;
    if (m_exchangeText) {
        socket->write(Text.toUtf8().append('\0'));
        socket->flush();
    }
    m_socket = nullptr;
    socket->disconnect(this);
    cycle.droppedAtMs = m_clock.elapsed();
    cycle.droppedWithReset = m_cycles.size() % 2 == 0;
    if (cycle.droppedWithReset) {
        // A zero linger time makes the kernel answer the close with a reset.
        const linger option{1, 0};
        ::setsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &option,
                     sizeof option);
        socket->abort();
    } else {
        socket->disconnectFromHost();
    }
    socket->deleteLater();
    if (m_cycles.size() == m_wanted)
        m_server.close();
}
