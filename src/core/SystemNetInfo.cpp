#include "core/SystemNetInfo.h"

#include <QMutexLocker>

SystemNetInfo::SystemNetInfo(std::unique_ptr<PcInfoProviderInterface> provider,
                             const FolderSourceInterface *folders)
    : m_provider(std::move(provider))
    , m_folders(folders)
{
    if (m_provider) {
        m_address = m_provider->machineAddress();
        m_name = m_provider->machineName();
    }
}

QString SystemNetInfo::address() const
{
    QMutexLocker locker(&m_mutex);
    return m_address;
}

void SystemNetInfo::setAddress(const QString &address)
{
    QMutexLocker locker(&m_mutex);
    m_address = address;
}

QString SystemNetInfo::name() const
{
    QMutexLocker locker(&m_mutex);
    return m_name;
}

void SystemNetInfo::setName(const QString &name)
{
    QMutexLocker locker(&m_mutex);
    m_name = name;
}

QString SystemNetInfo::logFolder() const
{
    return perMachine(m_folders ? m_folders->logFolder() : QStringLiteral("./logs"));
}

QString SystemNetInfo::configFolder() const
{
    return perMachine(m_folders ? m_folders->configFolder() : QStringLiteral("./config"));
}

QString SystemNetInfo::perMachine(const QString &base) const
{
    // The provider is asked again: a session that became remote gets its own folder.
    if (m_provider && m_provider->isRemoteSession())
        return base + QLatin1Char('/') + m_provider->machineName();
    return base;
}
