#include "shell/LogFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Creates each missing level of path in turn, so that every level gets the given mode rather
// than the process's umask defaults.
bool makeLevels(const QString &path, QFileDevice::Permissions mode)
{
    QString made;
    for (const QString &level : QDir::cleanPath(path).split(QLatin1Char('/'))) {
        made += level.isEmpty() ? QString() : QLatin1Char('/') + level;
        if (made.isEmpty() || QFileInfo(made).isDir())
            continue;
        if (!QDir().mkdir(made, mode))
            return false;
    }
    return QFileInfo(path).isDir();
}

} // namespace

LogFolder::LogFolder(QString commonFolder, QString userFolder, QStringList fileNames)
    : m_commonFolder(std::move(commonFolder))
    , m_userFolder(std::move(userFolder))
    , m_fileNames(std::move(fileNames))
{}

QString LogFolder::choose()
{
    m_usedFallback = false;
    // Readable by every user, writable by the owner: the logs hold everyone's diagnostics.
    const QFileDevice::Permissions shared = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                            QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                            QFileDevice::ExeOther;
    if (!m_commonFolder.isEmpty() && makeLevels(m_commonFolder, shared) &&
        isWritable(m_commonFolder))
        return m_commonFolder;
    if (m_userFolder.isEmpty() || QDir::cleanPath(m_userFolder) == QDir::cleanPath(m_commonFolder))
        return QString();
    const QFileDevice::Permissions own =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    if (!makeLevels(m_userFolder, own) || !isWritable(m_userFolder))
        return QString();
    m_usedFallback = true;
    return m_userFolder;
}

bool LogFolder::isWritable(const QString &folder) const
{
    // The appenders rename files when they roll over, so the folder itself must be writable.
    if (!QFileInfo(folder).isWritable())
        return false;
    // A file another user made is not ours to append to; a missing one is made by the logger.
    for (const QString &name : m_fileNames) {
        QFile file(QDir(folder).filePath(name));
        if (file.exists() && !file.open(QIODevice::Append))
            return false;
    }
    return true;
}
