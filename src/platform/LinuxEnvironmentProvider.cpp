#include "platform/LinuxEnvironmentProvider.h"

#include <QDir>
#include <QFileInfo>
#include <QHostInfo>

#include <pwd.h>
#include <unistd.h>

#include <climits>
#include <vector>

namespace {

const char *const ServiceUnit = "ondclient.service";

QString limited(const QString &name)
{
    return name.size() > LinuxEnvironmentProvider::MaxNameLength ? QString() : name;
}

} // namespace

LinuxEnvironmentProvider::LinuxEnvironmentProvider()
    : LinuxEnvironmentProvider(QStringList{
          QStringLiteral("/etc/systemd/system"), QStringLiteral("/run/systemd/system"),
          QStringLiteral("/usr/local/lib/systemd/system"), QStringLiteral("/lib/systemd/system"),
          QStringLiteral("/usr/lib/systemd/system")})
{}

LinuxEnvironmentProvider::LinuxEnvironmentProvider(const QStringList &unitDirectories)
    : m_unitDirectories(unitDirectories)
{}

QString LinuxEnvironmentProvider::domainName() const
{
    const QString domain = QHostInfo::localDomainName();
    return domain.isEmpty() ? QString() : limited(domain);
}

QString LinuxEnvironmentProvider::userName() const
{
    long bufferSize = sysconf(_SC_GETPW_R_SIZE_MAX);
    if (bufferSize <= 0)
        bufferSize = 16384;
    std::vector<char> buffer(static_cast<size_t>(bufferSize));
    passwd entry{};
    passwd *result = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &result) != 0 || !result)
        return QString();
    return limited(QString::fromLocal8Bit(result->pw_name));
}

QString LinuxEnvironmentProvider::computerName() const
{
    char host[HOST_NAME_MAX + 1] = {};
    if (gethostname(host, sizeof host - 1) != 0)
        return QString();
    // The short name plays the part of the workstation's computer name.
    const QString name = QString::fromLocal8Bit(host).section(QLatin1Char('.'), 0, 0);
    return limited(name);
}

bool LinuxEnvironmentProvider::isClientServiceInstalled() const
{
    for (const QString &directory : m_unitDirectories) {
        if (QFileInfo::exists(QDir(directory).filePath(QLatin1String(ServiceUnit))))
            return true;
    }
    return false;
}
