#include "platform/PcInfoProvider.h"

#include "platform/LinuxEnvironmentProvider.h"

#include <QFile>
#include <QHostAddress>
#include <QHostInfo>
#include <QNetworkInterface>
#include <QTextStream>

#include <cerrno>
#include <stdexcept>

namespace {

// The texts end in the error number only when there is one, as the callers' logs expect.
[[noreturn]] void fail(const char *text, int error)
{
    QString message = QString::fromLatin1(text);
    if (error != 0)
        message += QString::number(error);
    throw std::runtime_error(message.toStdString());
}

// The dotted form of an IPv4 address, also of one mapped into IPv6 (::ffff:a.b.c.d);
// empty for a real IPv6 address.
QString ipv4Text(const QHostAddress &address)
{
    bool isIpv4 = false;
    const quint32 value = address.toIPv4Address(&isIpv4);
    return isIpv4 ? QHostAddress(value).toString() : QString();
}

// A reverse lookup gives a fully qualified name; the client name is its first label. When
// the lookup fails Qt hands back the address itself, which is kept whole.
QString clientNameFor(const QString &host)
{
    QHostAddress address;
    if (!address.setAddress(host))
        return host.section(QLatin1Char('.'), 0, 0);
    const QString dotted = ipv4Text(address);
    const QString literal = dotted.isEmpty() ? host : dotted;
    const QString name = QHostInfo::fromName(literal).hostName();
    QHostAddress echoed;
    if (name.isEmpty() || echoed.setAddress(name))
        return literal;
    return name.section(QLatin1Char('.'), 0, 0);
}

} // namespace

PcInfoProvider::PcInfoProvider()
    : PcInfoProvider(QProcessEnvironment::systemEnvironment(),
                     QStringLiteral("/run/systemd/sessions"))
{}

PcInfoProvider::PcInfoProvider(const QProcessEnvironment &environment,
                               const QString &logindSessionFolder)
    : m_environment(environment)
    , m_logindSessionFolder(logindSessionFolder)
{}

bool PcInfoProvider::isRemoteSession() const
{
    if (!m_environment.value(QStringLiteral("SSH_CONNECTION")).trimmed().isEmpty())
        return true;
    if (!m_environment.value(QStringLiteral("XRDP_SESSION")).isEmpty())
        return true;
    return logindSession().value(QStringLiteral("REMOTE")) == QLatin1String("1");
}

QString PcInfoProvider::machineName() const
{
    return isRemoteSession() ? sessionName() : netbiosName();
}

QString PcInfoProvider::machineAddress() const
{
    return isRemoteSession() ? sessionAddress() : hostAddress();
}

QString PcInfoProvider::sshClientAddress() const
{
    // "client-address client-port server-address server-port"
    return m_environment.value(QStringLiteral("SSH_CONNECTION"))
        .section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
}

QMap<QString, QString> PcInfoProvider::logindSession() const
{
    QMap<QString, QString> values;
    QString sessionId = m_environment.value(QStringLiteral("XDG_SESSION_ID"));
    if (sessionId.isEmpty()) {
        // The audit session id equals logind's session id; 4294967295 means "none".
        QFile audit(QStringLiteral("/proc/self/sessionid"));
        if (audit.open(QIODevice::ReadOnly))
            sessionId = QString::fromLatin1(audit.readAll()).trimmed();
        if (sessionId == QLatin1String("4294967295"))
            sessionId.clear();
    }
    if (sessionId.isEmpty() || sessionId.contains(QLatin1Char('/')))
        return values;
    QFile file(m_logindSessionFolder + QLatin1Char('/') + sessionId);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return values;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals > 0)
            values.insert(line.left(equals), line.mid(equals + 1));
    }
    return values;
}

QString PcInfoProvider::sessionName() const
{
    const QString ssh = sshClientAddress();
    if (!ssh.isEmpty())
        return clientNameFor(ssh);
    const QString remoteHost = logindSession().value(QStringLiteral("REMOTE_HOST"));
    if (!remoteHost.isEmpty())
        return clientNameFor(remoteHost);
    fail("PcInfoProvider::getSessionName -> WTSQuerySessionInformation failed.  Last error=", 0);
}

QString PcInfoProvider::sessionAddress() const
{
    const QString ssh = sshClientAddress();
    if (!ssh.isEmpty()) {
        // An IPv4 peer reached over IPv6 shows as ::ffff:a.b.c.d; the dotted form is the
        // one the Print Service knows.
        const QString dotted = ipv4Text(QHostAddress(ssh));
        return dotted.isEmpty() ? ssh : dotted;
    }
    const QString remoteHost = logindSession().value(QStringLiteral("REMOTE_HOST"));
    if (!remoteHost.isEmpty()) {
        QHostAddress literal;
        if (literal.setAddress(remoteHost)) {
            const QString dotted = ipv4Text(literal);
            return dotted.isEmpty() ? remoteHost : dotted;
        }
        const QList<QHostAddress> found = QHostInfo::fromName(remoteHost).addresses();
        for (const QHostAddress &address : found) {
            const QString dotted = ipv4Text(address);
            if (!dotted.isEmpty())
                return dotted;
        }
    }
    fail("PcInfoProvider::getSessionIp -> WTSQuerySessionInformation failed.  Last error=", 0);
}

QString PcInfoProvider::netbiosName()
{
    errno = 0;
    const QString name = LinuxEnvironmentProvider().computerName();
    if (name.isEmpty())
        fail("PcInfoProvider::getNetbiosName -> GetComputerName failed.  Last error=", errno);
    return name;
}

QString PcInfoProvider::hostAddress()
{
    // /etc/hosts maps the host name to a loopback address on Debian, so the interfaces are
    // asked instead of the resolver.
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &interface : interfaces) {
        const auto flags = interface.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) ||
            flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        const QList<QNetworkAddressEntry> entries = interface.addressEntries();
        for (const QNetworkAddressEntry &entry : entries) {
            const QHostAddress &address = entry.ip();
            if (address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback())
                return address.toString();
        }
    }
    // A workstation without a network still resolves its own name to the loopback address.
    return QStringLiteral("127.0.0.1");
}
