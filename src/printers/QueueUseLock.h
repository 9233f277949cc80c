#pragma once

#include <QString>

#include <mutex>

// One client's use of a connection queue, seen by every client on this computer whatever its
// user: a shared flock on a file named after the queue in a world-writable sticky folder. The
// kernel drops the lock of a process that ends, however it ends, so a lock file never claims a
// queue for a client that is gone.
class QueueUseLock
{
public:
    // The folder all clients of this computer share.
    static constexpr char DefaultFolder[] = "/tmp/ondtpc-printer-connections";

    // Opens (creating when needed) the queue's lock file, and the folder with mode 1777 when it
    // is missing. Without the file error() says why, and the queue is never held alone: whether
    // another client uses it cannot be known.
    QueueUseLock(const QString &folder, const QString &queueName);
    // Closing the file ends this client's use.
    ~QueueUseLock();
    QueueUseLock(const QueueUseLock &) = delete;
    QueueUseLock &operator=(const QueueUseLock &) = delete;

    const QString &error() const { return m_error; }
    // Joins the queue's users; waits while a client that leaves holds the queue alone to decide
    // whether to remove it.
    void share();
    // Holds the queue alone if no other client uses it, without waiting. Whether it succeeds or
    // not, this client's shared use is over.
    bool takeAlone();
    // Held across each spooler step of this client on the queue, so that a removal never runs
    // beside a connection still in progress.
    std::mutex &steps() { return m_steps; }

private:
    int m_fd = -1;
    QString m_error;
    std::mutex m_steps;
};
