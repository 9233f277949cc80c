#include "protocol/PrintClientMessager.h"

#include "core/LogSource.h"
#include "core/PrinterConnectorInterface.h"
#include "protocol/ConnectionListenerInterface.h"
#include "protocol/MessageListenerInterface.h"
#include "protocol/SecretMasking.h"

#include <QSignalBlocker>
#include <QTcpSocket>

using UtilsLib::TraceScope;

namespace {

const UtilsLib::LogSource Log(QStringLiteral("PrintClientMessager"));

} // namespace

PrintClientMessager::PrintClientMessager(UtilsLib::Observer *observer, int reconnectDelayMs,
                                         int unterminatedTextDelayMs, QObject *parent)
    : QObject(parent)
    , m_socket(new QTcpSocket(this))
{
    addObserver(observer);
    const TraceScope trace = Log.trace(this, "PrintClientMessager");

    m_socket->setObjectName(QStringLiteral("socket"));
    m_socket->setReadBufferSize(SocketReadBufferBytes);
    m_reconnectTimer.setSingleShot(true);
    m_reconnectTimer.setInterval(reconnectDelayMs);
    m_unterminatedTextTimer.setSingleShot(true);
    m_unterminatedTextTimer.setInterval(unterminatedTextDelayMs);

    connect(m_socket, &QTcpSocket::readyRead, this, &PrintClientMessager::dataAvailable);
    connect(m_socket, &QTcpSocket::disconnected, this, &PrintClientMessager::delayedReconnect);
    connect(m_socket, &QTcpSocket::connected, this, &PrintClientMessager::connectionEstablished);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &PrintClientMessager::delayedReconnect);
    connect(m_socket, &QTcpSocket::bytesWritten, this, &PrintClientMessager::writeCompleted);
    connect(&m_reconnectTimer, &QTimer::timeout, this, &PrintClientMessager::reconnect);
    connect(&m_unterminatedTextTimer, &QTimer::timeout, this,
            &PrintClientMessager::flushUnterminatedText);
}

PrintClientMessager::~PrintClientMessager()
{
    // The last reply may still wait in the socket's buffer when the client ends right after
    // it (an out-of-date client does); the socket would drop it when destroyed.
    m_socket->flush();
    // The socket outlives this part of the object; its closing signals must not reach us.
    disconnect(m_socket, nullptr, this, nullptr);
}

void PrintClientMessager::setMessageListener(MessageListenerInterface *listener)
{
    const TraceScope trace = Log.trace(this, "setMessageListener");
    m_messageListener = listener;
}

void PrintClientMessager::setPrinterConnector(PrinterConnectorInterface *connector)
{
    const TraceScope trace = Log.trace(this, "setPrinterConnector");
    m_printerConnector = connector;
}

void PrintClientMessager::addConnectionListener(ConnectionListenerInterface *listener)
{
    const TraceScope trace = Log.trace(this, "addConnectionListener");
    m_connectionListeners.append(listener);
}

void PrintClientMessager::reconnect()
{
    const TraceScope trace = Log.trace(this, "reconnect");
    // An explicit call makes a pending timer pointless; it would only abandon this attempt.
    m_reconnectTimer.stop();
    const QString host =
        m_printerConnector ? m_printerConnector->getPrintServiceForOndrelPrinter() : QString();
    Log(this, "reconnect", UtilsLib::LogInfo,
        QStringLiteral("Attempting to reconnect to print service at %1 on port %2")
            .arg(host, QString::number(PrintServicePort)));
    connectToServer(host, PrintServicePort);
}

void PrintClientMessager::connectToServer(const QString &host, quint16 port)
{
    const TraceScope trace = Log.trace(this, "connectToServer");
    Log(this, "connectToServer", UtilsLib::LogInfo,
        QStringLiteral("Attempting to connect to print service at %1 on port %2")
            .arg(host, QString::number(port)));
    if (m_socket->state() != QAbstractSocket::UnconnectedState)
        abandonConnection();
    m_received.clear();
    m_unterminatedTextTimer.stop();
    m_socket->connectToHost(host, port);
}

void PrintClientMessager::delayedReconnect()
{
    const TraceScope trace = Log.trace(this, "delayedReconnect");
    m_received.clear();
    m_unterminatedTextTimer.stop();
    // Qt reports one loss both as an error and as a disconnection, and a failed write may
    // add a third report; the first one counts, the rest would only abandon the next
    // connection when their own timers fired.
    if (m_reconnectTimer.isActive())
        return;
    // A reply still being made belongs to the connection that is gone.
    ++m_connectionNumber;
    const auto listeners = m_connectionListeners;
    for (ConnectionListenerInterface *listener : listeners)
        listener->connectionLost();
    m_reconnectTimer.start();
}

void PrintClientMessager::connectionEstablished()
{
    const TraceScope trace = Log.trace(this, "connectionEstablished");
    // A reconnection still pending (a write failed while this attempt was under way) would
    // only tear down the connection that has just come up.
    m_reconnectTimer.stop();
    ++m_connectionNumber;
    const auto listeners = m_connectionListeners;
    for (ConnectionListenerInterface *listener : listeners)
        listener->connectionEstablished();
}

void PrintClientMessager::dataAvailable()
{
    const TraceScope trace = Log.trace(this, "dataAvailable");
    if (m_delivering)
        return; // the delivery under way reads these bytes once its text is answered
    const QByteArray data = readAvailableData();
    if (data.isEmpty()) {
        delayedReconnect();
        return;
    }
    m_received.append(data);
    handleBufferedTexts();
}

QByteArray PrintClientMessager::readAvailableData()
{
    const TraceScope trace = Log.trace(this, "readAvailableData");
    return m_socket->readAll();
}

void PrintClientMessager::handleBufferedTexts()
{
    m_unterminatedTextTimer.stop();
    m_delivering = true;
    for (;;) {
        QString text;
        const NulTextBuffer::Result result = m_received.takeText(text);
        if (result == NulTextBuffer::Result::Text) {
            deliver(text);
            continue;
        }
        if (result == NulTextBuffer::Result::Overflow) {
            Log(this, "dataAvailable", UtilsLib::LogError,
                QStringLiteral("Received more than %1 bytes without a message terminator; "
                               "dropping the connection")
                    .arg(m_received.maxTextBytes()));
            m_received.clear();
            m_delivering = false;
            abandonConnection();
            delayedReconnect();
            return;
        }
        // A handler's nested event loop may have let more bytes in; the socket does not
        // announce those again.
        if (m_socket->bytesAvailable() <= 0)
            break;
        m_received.append(readAvailableData());
    }
    m_delivering = false;
    if (m_received.hasUnterminatedBytes())
        m_unterminatedTextTimer.start();
}

void PrintClientMessager::flushUnterminatedText()
{
    if (m_delivering || !m_received.hasUnterminatedBytes())
        return;
    const QString text = m_received.takeUnterminated();
    m_delivering = true;
    deliver(text);
    handleBufferedTexts();
}

void PrintClientMessager::deliver(const QString &text)
{
    if (m_messageListener)
        m_messageListener->messageReceived(text);
}

void PrintClientMessager::abandonConnection()
{
    // Closing here is our own decision, not a loss to report or to reconnect from.
    const QSignalBlocker blocker(m_socket);
    m_socket->abort();
}

bool PrintClientMessager::sendMessage(const QString &text)
{
    const TraceScope trace = Log.trace(this, "sendMessage");
    const QByteArray bytes = NulTextBuffer::encode(text);
    const qint64 written = writeData(bytes);
    if (written != bytes.size()) {
        delayedReconnect();
        return false;
    }
    return true;
}

qint64 PrintClientMessager::writeData(const QByteArray &bytes)
{
    const TraceScope trace = Log.trace(this, "writeData");
    Log(this, "writeData", UtilsLib::LogInfo, [&] {
        return QStringLiteral("Sending: ") +
               Brindlecore::Core::maskSecretFields(NulTextBuffer::decode(bytes));
    });
    // While connecting, the socket would hold the bytes and send them ahead of the
    // registration; nothing may be written before the connection is established.
    const qint64 written =
        m_socket->state() == QAbstractSocket::ConnectedState ? m_socket->write(bytes) : qint64(-1);
    Log(this, "writeData", UtilsLib::LogInfo,
        [&] { return QStringLiteral("Sent %1 bytes").arg(written); });
    return written;
}

void PrintClientMessager::writeCompleted(qint64 bytes)
{
    const TraceScope trace = Log.trace(this, "writeCompleted");
    Log(this, "writeCompleted", UtilsLib::LogVerbose,
        [&] { return QStringLiteral("%1 bytes successfully written to socket").arg(bytes); });
}
