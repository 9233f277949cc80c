#include "shell/QtSingleApplication.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QWidget>
#include <QtEndian>

#include <unistd.h>

namespace {

// A text is a 32-bit big-endian byte count and the UTF-8 bytes; the receiver answers one
// byte once it has emitted the text. Texts above this size are refused.
constexpr quint32 MaxMessageBytes = 1024 * 1024;
constexpr int ProbeTimeoutMs = 250;
const char Acknowledge = '\x06';

QString baseName(const QString &id)
{
    // Readable and safe as a file name; the hash keeps different identifiers apart.
    QString readable;
    for (const QChar c : id)
        readable += c.isLetterOrNumber() && c.unicode() < 128 ? c.toLower() : QLatin1Char('-');
    const QByteArray hash = QCryptographicHash::hash(id.toUtf8(), QCryptographicHash::Sha1);
    return readable.left(40) + QLatin1Char('-') + QString::fromLatin1(hash.toHex().left(8));
}

bool serverAnswers(const QString &socketPath)
{
    QLocalSocket probe;
    probe.connectToServer(socketPath);
    return probe.waitForConnected(ProbeTimeoutMs);
}

} // namespace

QtSingleApplication::QtSingleApplication(const QString &id, int &argc, char **argv)
    : QApplication(argc, argv)
    , m_id(id)
{
    const QString folder = runtimeFolder();
    const QString base = QDir(folder).filePath(baseName(id));
    m_socketPath = base + QLatin1String(".socket");
    m_lock = std::make_unique<QLockFile>(base + QLatin1String(".lock"));
    // Only a dead owner makes the lock stale, never its age: the client runs for days.
    m_lock->setStaleLockTime(0);
}

QtSingleApplication::~QtSingleApplication()
{
    if (m_server)
        m_server->close();
}

QString QtSingleApplication::runtimeFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        folder = QDir::tempPath() + QStringLiteral("/ondtpc-runtime-%1").arg(getuid());
        QDir().mkpath(folder);
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner);
    }
    return folder;
}

bool QtSingleApplication::acquireGuard()
{
    if (m_guardChecked)
        return m_ownsGuard;
    m_guardChecked = true;
    if (!m_lock->tryLock(0)) {
        // Held by a live copy, or the folder is unusable: only the first means "running".
        m_ownsGuard = false;
        return false;
    }
    // The lock file may have been removed under a running copy (a cleaned runtime folder);
    // a server that still answers is that copy.
    if (serverAnswers(m_socketPath)) {
        m_lock->unlock();
        m_ownsGuard = false;
        return false;
    }
    m_ownsGuard = true;
    return true;
}

bool QtSingleApplication::isRunning()
{
    if (acquireGuard())
        return false;
    return m_lock->error() == QLockFile::LockFailedError || serverAnswers(m_socketPath);
}

void QtSingleApplication::initialize(bool activate)
{
    if (m_server || !acquireGuard())
        return;
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(m_socketPath);
    if (!m_server->listen(m_socketPath)) {
        delete m_server;
        m_server = nullptr;
        return;
    }
    connect(m_server, &QLocalServer::newConnection, this, &QtSingleApplication::receiveConnection);
    if (activate)
        connect(this, &QtSingleApplication::messageReceived, this,
                &QtSingleApplication::activateMainWidget);
}

void QtSingleApplication::receiveConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readFrom(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        readFrom(socket);
    }
}

void QtSingleApplication::readFrom(QLocalSocket *socket)
{
    if (socket->bytesAvailable() < qint64(sizeof(quint32)))
        return;
    quint32 size = 0;
    socket->peek(reinterpret_cast<char *>(&size), sizeof size);
    size = qFromBigEndian(size);
    if (size > MaxMessageBytes) {
        socket->abort();
        return;
    }
    if (socket->bytesAvailable() < qint64(sizeof(quint32) + size))
        return;
    socket->skip(sizeof(quint32));
    const QString message = QString::fromUtf8(socket->read(size));
    socket->write(&Acknowledge, 1);
    socket->flush();
    socket->disconnectFromServer();
    emit messageReceived(message);
}

bool QtSingleApplication::sendMessage(const QString &message, int timeout)
{
    const QDeadlineTimer deadline(timeout);
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    if (!socket.waitForConnected(int(deadline.remainingTime())))
        return false;
    const QByteArray bytes = message.toUtf8();
    const quint32 size = qToBigEndian(quint32(bytes.size()));
    socket.write(reinterpret_cast<const char *>(&size), sizeof size);
    socket.write(bytes);
    while (socket.bytesToWrite() > 0) {
        if (deadline.hasExpired() || !socket.waitForBytesWritten(int(deadline.remainingTime())))
            return false;
    }
    while (socket.bytesAvailable() < 1) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(int(deadline.remainingTime())))
            return false;
    }
    char answer = 0;
    return socket.read(&answer, 1) == 1 && answer == Acknowledge;
}

void QtSingleApplication::activateMainWidget()
{
    if (!m_mainWidget)
        return;
    if (m_mainWidget->isMinimized())
        m_mainWidget->showNormal();
    m_mainWidget->raise();
    m_mainWidget->activateWindow();
}
