#include "ProcessSample.h"

#include <QDir>
#include <QFile>

namespace {

QByteArray readProcFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The number after "<key>:" in a /proc status text, or -1.
long statusValue(const QByteArray &status, const QByteArray &key)
{
    const qsizetype at = status.indexOf("\n" + key + ":");
    if (at < 0)
        return -1;
    const qsizetype start = at + key.size() + 2;
    const qsizetype end = status.indexOf('\n', start);
    return status.mid(start, end - start).trimmed().split(' ').value(0).toLong();
}

std::uint64_t sumBetween(const QMap<pid_t, std::uint64_t> &earlier,
                         const QMap<pid_t, std::uint64_t> &later)
{
    std::uint64_t total = 0;
    for (auto it = later.cbegin(); it != later.cend(); ++it) {
        const std::uint64_t before = earlier.value(it.key(), 0);
        total += it.value() > before ? it.value() - before : 0;
    }
    return total;
}

} // namespace

ProcessSample ProcessSample::read(pid_t pid)
{
    ProcessSample sample;
    const QString base = QStringLiteral("/proc/%1").arg(pid);
    const QByteArray status = readProcFile(base + QStringLiteral("/status"));
    if (status.isEmpty())
        return sample;
    sample.rssKb = statusValue(status, "VmRSS");
    sample.hwmKb = statusValue(status, "VmHWM");
    const QStringList threads =
        QDir(base + QStringLiteral("/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &thread : threads) {
        const QString taskBase = base + QStringLiteral("/task/") + thread;
        const QByteArray taskStatus = readProcFile(taskBase + QStringLiteral("/status"));
        const QByteArray schedstat = readProcFile(taskBase + QStringLiteral("/schedstat"));
        if (taskStatus.isEmpty() || schedstat.isEmpty())
            continue;
        const pid_t tid = thread.toInt();
        sample.voluntarySwitches[tid] =
            std::uint64_t(statusValue(taskStatus, "voluntary_ctxt_switches"));
        sample.cpuNs[tid] = schedstat.split(' ').value(0).toULongLong();
    }
    sample.valid = sample.rssKb >= 0 && !sample.cpuNs.isEmpty();
    return sample;
}

std::uint64_t ProcessSample::cpuNsBetween(const ProcessSample &earlier, const ProcessSample &later)
{
    return sumBetween(earlier.cpuNs, later.cpuNs);
}

std::uint64_t ProcessSample::switchesBetween(const ProcessSample &earlier,
                                             const ProcessSample &later)
{
    return sumBetween(earlier.voluntarySwitches, later.voluntarySwitches);
}
