#pragma once

#include "core/BcHttpInterface.h"

// A blocking HTTP GET: it runs a nested event loop until the download ends, so the events of
// the caller's thread (timers, sockets, even another caller) are served meanwhile.
// Only plain http addresses are fetched (no port means 80), without a proxy and without
// following redirects. A download fails on a status other than 2xx, on a body larger than
// MaxBodyBytes, on a device that refuses the bytes, on the time-out, on abort() and when the
// application quits; every failure stops the transfer at once. While one download runs, a
// second get on the same object fails at once and leaves its device untouched. A target not
// open yet is opened write-only. Deleting the object ends its running get as failed.
class BcHttp : public BcHttpInterface
{
    Q_OBJECT

public:
    static constexpr int DefaultTimeoutMs = 30000;
    // The largest body kept; the files fetched (translations) are far smaller.
    static constexpr qint64 MaxBodyBytes = 4 * 1024 * 1024;

    explicit BcHttp(QObject *parent = nullptr)
        : BcHttpInterface(parent)
    {}
    ~BcHttp() override;

    bool get(const QString &address, QIODevice *target) override;
    bool setTimeout(int ms) override;

public slots:
    // Ends the running download as failed; nothing when none runs.
    void abort();

private:
    struct Download;

    int m_timeoutMs = DefaultTimeoutMs;
    Download *m_download = nullptr;
};
