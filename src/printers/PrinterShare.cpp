#include "printers/PrinterShare.h"

#include <QRegularExpression>
#include <QUrl>

namespace {

constexpr int StandardIppPort = 631;

// The server as the device address will carry it, or nothing when it cannot be a host there:
// a host name, an IPv4 address or an IPv6 address, which gets brackets when it has none. A
// blank, "/", "@", "#" or "?" in the server would make the address name another server.
std::optional<QString> usableHost(const QString &server)
{
    const QString host =
        server.contains(u':') && !server.startsWith(u'[') ? u'[' + server + u']' : server;
    // Both as a host by itself and inside an address, where "@" or "/" would cut it short.
    QUrl named;
    named.setHost(host, QUrl::StrictMode);
    const QUrl url(QLatin1String("ipp://") + host + u'/', QUrl::StrictMode);
    if (!named.isValid() || named.host().isEmpty() || !url.isValid() ||
        url.host(QUrl::FullyEncoded) != named.host(QUrl::FullyEncoded) || url.port() != -1 ||
        url.path() != QLatin1String("/") || url.hasQuery() || url.hasFragment())
        return std::nullopt;
    return host;
}

// Splits "host", "host:port", "[v6]" or "[v6]:port"; every colon of a bare IPv6 address is
// part of the address.
bool splitServer(const QString &server, QString *host, int *port)
{
    *port = -1;
    static const QRegularExpression withPort(
        QStringLiteral("^(\\[[^\\]]+\\]|[^:\\[\\]]+):(\\d{1,5})$"));
    const QRegularExpressionMatch match = withPort.match(server);
    QString name = server;
    if (match.hasMatch()) {
        bool ok = false;
        const int value = match.captured(2).toInt(&ok);
        if (!ok || value < 1 || value > 65535)
            return false;
        name = match.captured(1);
        *port = value == StandardIppPort ? -1 : value;
    }
    const std::optional<QString> usable = usableHost(name);
    if (!usable)
        return false;
    *host = *usable;
    return true;
}

struct ShareParts
{
    QString host;
    int port = -1;
    QString share;
};

// "\\server\share" or "//server/share": exactly one separator after the server.
std::optional<ShareParts> splitSharePath(const QString &text, QChar separator)
{
    const QString rest = text.mid(2);
    const qsizetype split = rest.indexOf(separator);
    if (split <= 0)
        return std::nullopt;
    ShareParts parts;
    parts.share = rest.mid(split + 1);
    if (parts.share.isEmpty() || parts.share.contains(separator))
        return std::nullopt;
    if (!splitServer(rest.left(split), &parts.host, &parts.port))
        return std::nullopt;
    return parts;
}

} // namespace

PrinterShare::PrinterShare(const QString &scheme, const QString &host, int port,
                           const QString &share)
    : m_scheme(scheme)
    , m_host(host)
    , m_port(port)
    , m_share(share)
{}

std::optional<PrinterShare> PrinterShare::parse(const QString &printerName)
{
    const bool backslashes = printerName.startsWith(QLatin1String("\\\\"));
    if (backslashes || printerName.startsWith(QLatin1String("//"))) {
        const std::optional<ShareParts> parts =
            splitSharePath(printerName, backslashes ? u'\\' : u'/');
        if (!parts)
            return std::nullopt;
        return PrinterShare(QStringLiteral("ipp"), parts->host, parts->port, parts->share);
    }

    const QUrl url(printerName, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("ipp") && scheme != QLatin1String("ipps")))
        return std::nullopt;
    QString host = url.host();
    if (host.isEmpty())
        return std::nullopt;
    if (host.contains(u':'))
        host = u'[' + host + u']';
    const QString share = url.path().section(u'/', -1);
    if (share.isEmpty())
        return std::nullopt;
    // Port 0 names no port at all; the share path form refuses it too.
    if (url.port() == 0)
        return std::nullopt;
    const int port = url.port() == StandardIppPort ? -1 : url.port();
    return PrinterShare(scheme, host, port, share);
}

QString PrinterShare::queueNameFor(const QString &printerName)
{
    const std::optional<PrinterShare> share = parse(printerName);
    return share ? share->queueName() : printerName;
}

QString PrinterShare::queueName() const
{
    QString server = m_host;
    if (m_port > 0)
        server += u':' + QString::number(m_port);
    QString name = server + u'_' + m_share;
    for (QChar &c : name) {
        if (c == u'\\' || c == u'/' || c == u'@' || c.isSpace())
            c = u'_';
    }
    return name;
}

QString PrinterShare::deviceUri() const
{
    QString uri = m_scheme + QLatin1String("://") + m_host;
    if (m_port > 0)
        uri += u':' + QString::number(m_port);
    return uri + QLatin1String("/printers/") +
           QString::fromLatin1(QUrl::toPercentEncoding(m_share));
}
