#include "SimulatorConnection.h"

#include "TrafficLog.h"

#include <QTcpSocket>

SimulatorConnection::SimulatorConnection(int number, QTcpSocket *socket, TrafficLog *log,
                                         int unterminatedTextDelayMs, QObject *parent)
    : QObject(parent)
    , m_number(number)
    , m_socket(socket)
    , m_log(log)
{
    m_socket->setParent(this);
    m_unterminatedTextTimer.setSingleShot(true);
    m_unterminatedTextTimer.setInterval(unterminatedTextDelayMs);
    connect(m_socket, &QTcpSocket::readyRead, this, &SimulatorConnection::readAvailable);
    connect(m_socket, &QTcpSocket::disconnected, this,
            [this] { markClosed(QStringLiteral("closed by the client")); });
    connect(&m_unterminatedTextTimer, &QTimer::timeout, this,
            &SimulatorConnection::flushUnterminated);
    m_log->event(m_number, QStringLiteral("connected from %1:%2")
                               .arg(m_socket->peerAddress().toString())
                               .arg(m_socket->peerPort()));
}

bool SimulatorConnection::send(const QString &text)
{
    if (!m_open)
        return false;
    m_log->sent(m_number, text);
    m_socket->write(NulTextBuffer::encode(text));
    return true;
}

void SimulatorConnection::close()
{
    if (!m_open)
        return;
    markClosed(QStringLiteral("closed by the simulator"));
    // What was sent last must reach the client before the connection (or the program)
    // ends; on loopback this takes no time.
    m_socket->disconnectFromHost();
    if (m_socket->state() != QAbstractSocket::UnconnectedState)
        m_socket->waitForDisconnected(1000);
}

void SimulatorConnection::readAvailable()
{
    m_unterminatedTextTimer.stop();
    m_buffer.append(m_socket->readAll());
    QString text;
    for (;;) {
        const NulTextBuffer::Result result = m_buffer.takeText(text);
        if (result == NulTextBuffer::Result::Incomplete)
            break;
        if (result == NulTextBuffer::Result::Overflow) {
            m_log->event(m_number, QStringLiteral("more than %1 bytes without a terminator")
                                       .arg(m_buffer.maxTextBytes()));
            m_buffer.clear();
            m_socket->abort();
            markClosed(QStringLiteral("closed by the simulator"));
            return;
        }
        m_log->received(m_number, text);
        emit textReceived(text);
    }
    if (m_buffer.hasUnterminatedBytes())
        m_unterminatedTextTimer.start();
}

void SimulatorConnection::flushUnterminated()
{
    const QString text = m_buffer.takeUnterminated();
    m_log->received(m_number, text);
    emit textReceived(text);
}

void SimulatorConnection::markClosed(const QString &how)
{
    if (!m_open)
        return;
    m_open = false;
    m_unterminatedTextTimer.stop();
    m_log->event(m_number, how);
    emit closed();
}
