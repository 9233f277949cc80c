#pragma once

#include "core/Observable.h"
#include "protocol/MessageClientInterface.h"
#include "protocol/NulTextBuffer.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QTimer>

class QTcpSocket;
class ConnectionListenerInterface;
class MessageListenerInterface;
class PrinterConnectorInterface;

// Owns the one TCP connection to the Print Service: connects to the address the printer
// connector gives, reconnects one second after any loss, hands every received text to the
// message listener and writes outgoing texts. It never queues a text while disconnected, and
// never keeps more than one reconnection pending.
class PrintClientMessager
    : public QObject
    , public MessageClientInterface
    , public UtilsLib::Observable
{
    Q_OBJECT

public:
    static constexpr quint16 PrintServicePort = 21326;
    static constexpr int ReconnectDelayMs = 1000;
    // How long the bytes of a text without its NUL wait for more before they count as a
    // whole text (a peer that does not terminate its texts).
    static constexpr int UnterminatedTextDelayMs = 200;
    // Socket read buffer: a peer that floods while a handler waits for the user is slowed
    // down by TCP instead of filling memory.
    static constexpr qint64 SocketReadBufferBytes = 64 * 1024;

    explicit PrintClientMessager(UtilsLib::Observer *observer,
                                 int reconnectDelayMs = ReconnectDelayMs,
                                 int unterminatedTextDelayMs = UnterminatedTextDelayMs,
                                 QObject *parent = nullptr);
    ~PrintClientMessager() override;

    // Null detaches the listener; texts that arrive meanwhile are discarded.
    void setMessageListener(MessageListenerInterface *listener);
    void setPrinterConnector(PrinterConnectorInterface *connector);
    // Listeners are told in the order they were added; they are not owned.
    void addConnectionListener(ConnectionListenerInterface *listener);

    bool sendMessage(const QString &text) override;
    quint64 connectionNumber() const override { return m_connectionNumber; }

    // Abandons any connection or attempt first, so that only one ever exists.
    virtual void connectToServer(const QString &host, quint16 port);
    virtual QByteArray readAvailableData();
    // Writes the bytes as they are; -1 when there is no established connection.
    virtual qint64 writeData(const QByteArray &bytes);

public slots:
    void dataAvailable();
    void connectionEstablished();
    void delayedReconnect();
    void reconnect();
    void writeCompleted(qint64 bytes);

private:
    void handleBufferedTexts();
    void flushUnterminatedText();
    void deliver(const QString &text);
    void abandonConnection();

    QList<ConnectionListenerInterface *> m_connectionListeners;
    MessageListenerInterface *m_messageListener = nullptr;
    QTcpSocket *m_socket = nullptr;
    PrinterConnectorInterface *m_printerConnector = nullptr;

    NulTextBuffer m_received;
    QTimer m_reconnectTimer;
    QTimer m_unterminatedTextTimer;
    // Set while a text is with the listener, whose handler may run a nested event loop:
    // texts arriving meanwhile wait their turn so that replies go out in order.
    bool m_delivering = false;
    quint64 m_connectionNumber = 0;
};
