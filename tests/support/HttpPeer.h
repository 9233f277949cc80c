#pragma once

#include <QTcpServer>
#include <QTcpSocket>

#include <functional>

// Keeps each request line and lets the test's answer reply to it at once, later or never.
struct HttpPeer
{
    using Answer = std::function<void(QTcpSocket *socket, const QByteArray &path)>;

    explicit HttpPeer(Answer answer)
        : answer(std::move(answer))
    {
        QObject::connect(&server, &QTcpServer::newConnection, &server, [this] {
            while (QTcpSocket *socket = server.nextPendingConnection())
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    const QByteArray head = socket->peek(socket->bytesAvailable());
                    if (!head.contains("\r\n\r\n"))
                        return; // more of the head is to come
                    socket->readAll();
                    requests << head.left(head.indexOf("\r\n"));
                    this->answer(socket, requests.last().split(' ').value(1));
                });
        });
    }
    QString url(const char *path = "/f.qm") const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(server.serverPort()).arg(path);
    }

    QTcpServer server;
    Answer answer;
    QList<QByteArray> requests;
};

inline QByteArray httpResponse(const QByteArray &status, const QByteArray &body, qint64 length = -1,
                               const QByteArray &headers = {})
{
    return "HTTP/1.1 " + status +
           "\r\nContent-Length: " + QByteArray::number(length < 0 ? body.size() : length) +
           "\r\nConnection: close\r\n" + headers + "\r\n" + body;
}

// Writes the bytes, and closes once they are out.
inline void httpReply(QTcpSocket *socket, const QByteArray &bytes)
{
    socket->write(bytes);
    socket->disconnectFromHost();
}
