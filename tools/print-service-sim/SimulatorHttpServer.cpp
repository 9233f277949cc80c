#include "SimulatorHttpServer.h"

#include "TrafficLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTcpSocket>
#include <QUrl>

namespace {

// A request head larger than this is not one the client sends.
constexpr qsizetype MaxHeadBytes = 16 * 1024;

QByteArray responseHead(int status, qint64 contentLength)
{
    static const QHash<int, QByteArray> reasons{
        {200, "OK"}, {400, "Bad Request"}, {404, "Not Found"}, {405, "Method Not Allowed"}};
    return "HTTP/1.1 " + QByteArray::number(status) + ' ' + reasons.value(status) +
           "\r\nContent-Length: " + QByteArray::number(contentLength) +
           (status == 405 ? "\r\nAllow: GET" : "") + "\r\nConnection: close\r\n\r\n";
}

} // namespace

SimulatorHttpServer::SimulatorHttpServer(TrafficLog *log, const QString &root, QObject *parent)
    : QObject(parent)
    , m_log(log)
    , m_root(QDir(root).canonicalPath())
{
    connect(&m_server, &QTcpServer::newConnection, this, &SimulatorHttpServer::accept);
}

bool SimulatorHttpServer::listen(const QHostAddress &address, quint16 port)
{
    if (!m_server.listen(address, port))
        return false;
    m_log->event(0, QStringLiteral("http listening on %1:%2 for %3")
                        .arg(address.toString())
                        .arg(m_server.serverPort())
                        .arg(m_root));
    return true;
}

void SimulatorHttpServer::addRule(const ScenarioStep &step)
{
    m_rules.prepend({step.pattern, step.httpBehaviour});
    m_log->event(0, QStringLiteral("http rule %1").arg(step.argument));
}

void SimulatorHttpServer::accept()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, socket,
                [this, socket, answered = false, received = QByteArray()]() mutable {
                    if (answered)
                        return; // what follows the head is not read
                    received += socket->readAll();
                    const qsizetype end = received.indexOf("\r\n\r\n");
                    if (end < 0 && received.size() <= MaxHeadBytes)
                        return;
                    answered = true;
                    // A head too long is a bad request.
                    answer(socket, end < 0 ? QByteArray() : received.left(end + 2));
                });
    }
}

void SimulatorHttpServer::answer(QTcpSocket *socket, const QByteArray &requestHead)
{
    using Behaviour = ScenarioStep::HttpBehaviour;
    const QList<QByteArray> request = requestHead.left(requestHead.indexOf("\r\n")).split(' ');
    // The query plays no part in which file is served.
    const QString path = QString::fromUtf8(request.value(1).split('?').value(0));
    Behaviour behaviour = Behaviour::Serve;
    for (const auto &[pattern, ruleBehaviour] : std::as_const(m_rules)) {
        if (pattern.match(path).hasMatch()) {
            behaviour = ruleBehaviour;
            break;
        }
    }
    const QString file = fileFor(path);
    int status = 200;
    if (request.size() != 3 || !request[2].startsWith("HTTP/"))
        status = 400;
    else if (request[0] != "GET")
        status = 405;
    else if (behaviour == Behaviour::NotFound || (behaviour == Behaviour::Serve && file.isEmpty()))
        status = 404;
    const bool hangs = status == 200 && behaviour == Behaviour::Hang;
    const bool closesEarly = status == 200 && behaviour == Behaviour::Close;
    m_log->event(0, QStringLiteral("http %1 %2 %3")
                        .arg(TrafficLog::escaped(QString::fromUtf8(request.value(0))),
                             TrafficLog::escaped(path),
                             hangs         ? QStringLiteral("hang")
                             : closesEarly ? QStringLiteral("close")
                                           : QString::number(status)));
    if (hangs)
        return; // the connection stays open, unanswered, until the client gives up

    QByteArray body;
    QFile source(file);
    if (status == 200 && !file.isEmpty() && source.open(QIODevice::ReadOnly))
        body = source.readAll();
    // Closing early announces one byte more than it sends.
    socket->write(responseHead(status, body.size() + (closesEarly ? 1 : 0)) + body);
    socket->disconnectFromHost();
}

QString SimulatorHttpServer::fileFor(const QString &path) const
{
    // Decoded first, so that an encoded ".." cannot climb out of the root either; a link
    // pointing out of it is caught by the canonical path.
    const QString decoded = QUrl::fromPercentEncoding(path.toUtf8());
    if (!decoded.startsWith(QLatin1Char('/')) || decoded.contains(QLatin1String("..")) ||
        decoded.contains(QLatin1Char('\\')))
        return QString();
    const QFileInfo info(m_root + decoded);
    const QString canonical = info.canonicalFilePath();
    if (!info.isFile() || !canonical.startsWith(m_root + QLatin1Char('/')))
        return QString();
    return canonical;
}
