#pragma once

#include <QString>
#include <QStringList>

// Chooses the folder the client logs to. The common log folder is shared by every user of the
// workstation; when its levels were made by another user, or the folder is otherwise closed to
// this user, the user's own log folder is used instead, so that no user's client logs nothing.
class LogFolder
{
public:
    // commonFolder: the shared log folder; userFolder: the user's own one; fileNames: the log
    // files that must be writable in the chosen folder where they exist.
    LogFolder(QString commonFolder, QString userFolder, QStringList fileNames);

    // Creates the missing levels of the common folder (readable by all, writable by their
    // maker) and returns it when its files can be written; else the user's folder, made
    // private to the user. Empty when neither can be written.
    QString choose();
    // True when choose() fell back to the user's folder.
    bool usedFallback() const { return m_usedFallback; }

private:
    bool isWritable(const QString &folder) const;

    QString m_commonFolder;
    QString m_userFolder;
    QStringList m_fileNames;
    bool m_usedFallback = false;
};
