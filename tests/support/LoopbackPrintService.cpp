#include "LoopbackPrintService.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <QtCore/qtestsupport_core.h>

#include <sys/socket.h>

LoopbackPrintService::LoopbackPrintService(const QString &address, QObject *parent)
    : QObject(parent)
    , m_address(address)
{
    m_clock.start();
    connect(&m_server, &QTcpServer::newConnection, this, &LoopbackPrintService::accept);
}

LoopbackPrintService::~LoopbackPrintService()
{
    for (Connection &connection : m_connections)
        connection.socket->disconnect(this);
}

bool LoopbackPrintService::listen()
{
    return m_server.listen(QHostAddress(m_address), 21326);
}

void LoopbackPrintService::stopListening()
{
    m_server.close();
}

void LoopbackPrintService::accept()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        socket->setParent(this);
        const int index = int(m_connections.size());
        m_connections.append(Connection{socket, {}, true, false, m_clock.elapsed(), -1});
        connect(socket, &QTcpSocket::readyRead, this, [this, index] {
            m_connections[index].bytes.append(m_connections[index].socket->readAll());
        });
        connect(socket, &QTcpSocket::disconnected, this, [this, index] {
            Connection &connection = m_connections[index];
            if (connection.open)
                connection.closedAt = m_clock.elapsed();
            connection.open = false;
        });
        emit connectionAccepted(index);
    }
}

QByteArray LoopbackPrintService::received(int connection) const
{
    return m_connections.value(connection).bytes;
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

bool LoopbackPrintService::isOpen(int connection) const
{
    return connection < m_connections.size() && m_connections[connection].open;
}

bool LoopbackPrintService::closedByClient(int connection) const
{
    return connection < m_connections.size() && !m_connections[connection].open &&
           !m_connections[connection].closedByUs;
}

qint64 LoopbackPrintService::acceptedAt(int connection) const
{
    return m_connections.value(connection).acceptedAt;
}

qint64 LoopbackPrintService::closedAt(int connection) const
{
    return m_connections.value(connection).closedAt;
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
    QTcpSocket *socket = m_connections.at(connection).socket;
    socket->write(bytes);
    socket->flush();
}

void LoopbackPrintService::sendText(int connection, const QString &text)
{
    QByteArray bytes = text.toUtf8();
    bytes.append('\0');
    send(connection, bytes);
}

LoopbackPrintService::Connection &LoopbackPrintService::closeByUs(int connection)
{
    Connection &entry = m_connections[connection];
    entry.closedByUs = true;
    if (entry.open)
        entry.closedAt = m_clock.elapsed();
    entry.open = false;
    return entry;
}

void LoopbackPrintService::close(int connection)
{
    closeByUs(connection).socket->disconnectFromHost();
}

void LoopbackPrintService::reset(int connection)
{
    Connection &entry = closeByUs(connection);
    // A zero linger time makes the kernel answer the close with a reset.
    const linger option{1, 0};
    ::setsockopt(int(entry.socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &option,
                 sizeof option);
    entry.socket->abort();
}
