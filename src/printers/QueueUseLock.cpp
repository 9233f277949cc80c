#include "printers/QueueUseLock.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemError(const QByteArray &path)
{
    return QStringLiteral("%1: %2").arg(QFile::decodeName(path),
                                        QString::fromLocal8Bit(std::strerror(errno)));
}

// Every user must be able to add lock files. The folder is made complete under a name of its
// own and then renamed into place, so no client ever sees it before its mode is 1777; when
// another client was first, its folder stays.
void ensureFolder(const QByteArray &folder)
{
    struct stat status;
    if (lstat(folder.constData(), &status) == 0 || errno != ENOENT)
        return; // whatever is there shows when the file is opened
    QByteArray scratch = folder + ".XXXXXX";
    if (!mkdtemp(scratch.data()))
        return;
    if (chmod(scratch.constData(), 01777) != 0 || rename(scratch.constData(), folder) != 0)
        rmdir(scratch.constData());
}

} // namespace

QueueUseLock::QueueUseLock(const QString &folder, const QString &queueName)
{
    const QByteArray directory = QFile::encodeName(folder);
    ensureFolder(directory);
    const QByteArray path = directory + '/' + QFile::encodeName(queueName) + ".lock";
    // Opening with O_CREAT a file another user owns is refused where the kernel protects sticky
    // folders, so the file is created only when it is missing.
    for (int tries = 0; m_fd < 0 && tries < 2; ++tries) {
        m_fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (m_fd < 0 && errno == ENOENT) {
            m_fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_CREAT | O_EXCL,
                          0444);
            // Readable by every user whatever the creator's umask; a lock needs no more.
            if (m_fd >= 0)
                fchmod(m_fd, 0444);
        }
        if (m_fd < 0 && errno != EEXIST) // EEXIST: another client created it just now
            break;
    }
    if (m_fd < 0)
        m_error = systemError(path);
}

QueueUseLock::~QueueUseLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void QueueUseLock::share()
{
    while (m_fd >= 0 && flock(m_fd, LOCK_SH) != 0 && errno == EINTR) {
    }
}

bool QueueUseLock::takeAlone()
{
    return m_fd >= 0 && flock(m_fd, LOCK_EX | LOCK_NB) == 0;
}
