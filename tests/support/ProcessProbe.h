#pragma once

#include "FileBytes.h"

#include <QByteArray>
#include <QDir>

// What the kernel says about a running process: its open file descriptors and its resident
// memory now and at its peak, read from /proc. Each reading is -1 once the process is gone.
class ProcessProbe
{
public:
    explicit ProcessProbe(qint64 pid)
        : m_pid(pid)
    {}

    int openFileDescriptors() const
    {
        const QDir folder(QStringLiteral("/proc/%1/fd").arg(m_pid));
        if (!folder.exists())
            return -1;
        return int(folder.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size());
    }
    // The open descriptors besides those of Qt's pooled drawing threads, which hold one each and
    // end 30 s after their last use: they come and go as the style's cache fills, so a leak
    // shows in the others.
    int lastingDescriptors() const
    {
        const QDir tasks(QStringLiteral("/proc/%1/task").arg(m_pid));
        int pooled = 0;
        for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            pooled += readFile(tasks.filePath(task + QStringLiteral("/comm"))).trimmed() ==
                      "Thread (pooled)";
        return openFileDescriptors() - pooled;
    }
    qint64 residentKiB() const { return statusValueKiB("VmRSS:"); }
    qint64 peakResidentKiB() const { return statusValueKiB("VmHWM:"); }

private:
    // A "Name:   1234 kB" line of /proc/PID/status.
    qint64 statusValueKiB(const QByteArray &name) const
    {
        const QByteArray status = readFile(QStringLiteral("/proc/%1/status").arg(m_pid));
        for (const QByteArray &line : status.split('\n')) {
            if (line.startsWith(name))
                return line.mid(name.size()).trimmed().split(' ').value(0).toLongLong();
        }
        return -1;
    }

    qint64 m_pid;
};
