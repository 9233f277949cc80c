#include "core/BcHttp.h"

#include "core/BcHttpFactory.h"

#include <QEventLoop>
#include <QIODevice>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QPointer>
#include <QTimer>

// The state of the running download. It lives on get's stack, so nothing of one download,
// its timer above all, can outlive it and fail the next one.
struct BcHttp::Download
{
    QEventLoop loop;
    QTimer timer;
    bool ended = false;
    bool succeeded = false;

    void end(bool success)
    {
        if (ended)
            return;
        ended = true;
        succeeded = success;
        timer.stop();
        loop.quit();
    }
};

namespace {

bool hasSuccessStatus(const QNetworkReply &reply)
{
    const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    return status >= 200 && status < 300;
}

} // namespace

std::unique_ptr<BcHttpInterface> BcHttpFactory::create() const
{
    return std::make_unique<BcHttp>();
}

BcHttp::~BcHttp()
{
    // A get still waiting returns false without touching this object again.
    abort();
}

bool BcHttp::setTimeout(int ms)
{
    m_timeoutMs = ms;
    return true;
}

void BcHttp::abort()
{
    if (m_download)
        m_download->end(false);
}

bool BcHttp::get(const QString &address, QIODevice *target)
{
    if (m_download || !target)
        return false;
    const QUrl url(address);
    if (!url.isValid() || url.scheme() != QLatin1String("http") || url.host().isEmpty() ||
        (!target->isOpen() && !target->open(QIODevice::WriteOnly))) {
        target->close();
        return false;
    }
    // A manager per download: it belongs to the calling thread, whichever that is, and no
    // connection, cookie or credential of one download carries over to the next.
    QNetworkAccessManager manager;
    manager.setProxy(QNetworkProxy::NoProxy);
    manager.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
    QNetworkReply *reply = manager.get(QNetworkRequest(url));

    Download download;
    qint64 received = 0;
    connect(reply, &QNetworkReply::readyRead, &download.loop, [&] {
        if (download.ended)
            return;
        const QByteArray bytes = reply->readAll();
        received += bytes.size();
        // An error page is not the file, and a body past the limit is cut off unread.
        if (!hasSuccessStatus(*reply) || received > MaxBodyBytes ||
            target->write(bytes) != bytes.size())
            download.end(false);
    });
    connect(reply, &QNetworkReply::finished, &download.loop, [&] {
        download.end(reply->error() == QNetworkReply::NoError && hasSuccessStatus(*reply));
    });
    download.timer.setSingleShot(true);
    connect(&download.timer, &QTimer::timeout, &download.loop, [&] { download.end(false); });
    if (m_timeoutMs > 0)
        download.timer.start(m_timeoutMs);

    m_download = &download;
    const QPointer<BcHttp> alive(this);
    // Quitting the application ends this loop too, before the download ended: a failure.
    download.loop.exec();
    if (alive)
        m_download = nullptr;
    const bool succeeded = download.ended && download.succeeded;
    if (!reply->isFinished())
        reply->abort();
    target->close();
    return succeeded;
}
