#include "protocol/PrintClientMessager.h"

#include "app/LogEvent.h"
#include "printers/PrinterConnectorInterface.h"
#include "protocol/ConnectionListenerInterface.h"
#include "protocol/MessageListenerInterface.h"
#include "protocol/SecretMasking.h"

#include <QSignalBlocker>
#include <QTcpSocket>

using UtilsLib::logEvent;
using UtilsLib::TraceScope;

namespace {

const QString Source = QStringLiteral("PrintClientMessager");

QString origin(const char *method)
{
    return Source + QLatin1String("::") + QLatin1String(method);
}

// The origins of the methods every text passes through, made once rather than per call.
const QString DataAvailableOrigin = origin("dataAvailable");
const QString ReadAvailableDataOrigin = origin("readAvailableData");
const QString SendMessageOrigin = origin("sendMessage");
const QString WriteDataOrigin = origin("writeData");
const QString WriteCompletedOrigin = origin("writeCompleted");

} // namespace

PrintClientMessager::PrintClientMessager(UtilsLib::Observer *observer, int reconnectDelayMs,
                                         int unterminatedTextDelayMs, QObject *parent)
    : QObject(parent)
    , m_socket(new QTcpSocket(this))
{
    addObserver(observer);
    TraceScope trace(this, Source, origin("PrintClientMessager"));

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
    // The socket outlives this part of the object; its closing signals must not reach us.
    disconnect(m_socket, nullptr, this, nullptr);
}

void PrintClientMessager::setMessageListener(MessageListenerInterface *listener)
{
    TraceScope trace(this, Source, origin("setMessageListener"));
    m_messageListener = listener;
}

void PrintClientMessager::setPrinterConnector(PrinterConnectorInterface *connector)
{
    TraceScope trace(this, Source, origin("setPrinterConnector"));
    m_printerConnector = connector;
}

void PrintClientMessager::addConnectionListener(ConnectionListenerInterface *listener)
{
    TraceScope trace(this, Source, origin("addConnectionListener"));
    m_connectionListeners.append(listener);
}

void PrintClientMessager::reconnect()
{
    TraceScope trace(this, Source, origin("reconnect"));
    // An explicit call makes a pending timer pointless; it would only abandon this attempt.
    m_reconnectTimer.stop();
    const QString host =
        m_printerConnector ? m_printerConnector->getPrintServiceForOndrelPrinter() : QString();
    logEvent(this, Source, origin("reconnect"), UtilsLib::LogInfo,
             QStringLiteral("Attempting to reconnect to print service at %1 on port %2")
                 .arg(host, QString::number(PrintServicePort)));
    connectToServer(host, PrintServicePort);
}

void PrintClientMessager::connectToServer(const QString &host, quint16 port)
{
    TraceScope trace(this, Source, origin("connectToServer"));
    logEvent(this, Source, origin("connectToServer"), UtilsLib::LogInfo,
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
    TraceScope trace(this, Source, origin("delayedReconnect"));
    m_received.clear();
    m_unterminatedTextTimer.stop();
    // Qt reports one loss both as an error and as a disconnection, and a failed write may
    // add a third report; the first one counts, the rest would only abandon the next
    // connection when their own timers fired.
    if (m_reconnectTimer.isActive())
        return;
    const auto listeners = m_connectionListeners;
    for (ConnectionListenerInterface *listener : listeners)
        listener->connectionLost();
    m_reconnectTimer.start();
}

void PrintClientMessager::connectionEstablished()
{
    TraceScope trace(this, Source, origin("connectionEstablished"));
    // A reconnection still pending (a write failed while this attempt was under way) would
    // only tear down the connection that has just come up.
    m_reconnectTimer.stop();
    const auto listeners = m_connectionListeners;
    for (ConnectionListenerInterface *listener : listeners)
        listener->connectionEstablished();
}

void PrintClientMessager::dataAvailable()
{
    TraceScope trace(this, Source, DataAvailableOrigin);
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
    TraceScope trace(this, Source, ReadAvailableDataOrigin);
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
            logEvent(this, Source, DataAvailableOrigin, UtilsLib::LogError,
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
    TraceScope trace(this, Source, SendMessageOrigin);
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
    TraceScope trace(this, Source, WriteDataOrigin);
    logEvent(this, Source, WriteDataOrigin, UtilsLib::LogInfo, [&] {
        return QStringLiteral("Sending: ") +
               Brindlecore::Core::maskSecretFields(NulTextBuffer::decode(bytes));
    });
    // While connecting, the socket would hold the bytes and send them ahead of the
    // registration; nothing may be written before the connection is established.
    const qint64 written =
        m_socket->state() == QAbstractSocket::ConnectedState ? m_socket->write(bytes) : qint64(-1);
    logEvent(this, Source, WriteDataOrigin, UtilsLib::LogInfo,
             [&] { return QStringLiteral("Sent %1 bytes").arg(written); });
    return written;
}

void PrintClientMessager::writeCompleted(qint64 bytes)
{
    TraceScope trace(this, Source, WriteCompletedOrigin);
    logEvent(this, Source, WriteCompletedOrigin, UtilsLib::LogVerbose,
             [&] { return QStringLiteral("%1 bytes successfully written to socket").arg(bytes); });
}
