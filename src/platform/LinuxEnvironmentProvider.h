#pragma once

#include "core/EnvironmentProvider.h"

#include <QStringList>

// EnvironmentProvider on Linux: the login name from the password database, the short host
// name, the resolver's local domain, and whether a systemd unit named "ondclient" exists.
class LinuxEnvironmentProvider : public EnvironmentProvider
{
public:
    // Names longer than this are not read, as on the workstations the protocol came from.
    static constexpr int MaxNameLength = 256;

    LinuxEnvironmentProvider();
    // unitDirectories replaces the systemd unit search path (for tests).
    explicit LinuxEnvironmentProvider(const QStringList &unitDirectories);

    QString domainName() const override;
    QString userName() const override;
    QString computerName() const override;
    bool isClientServiceInstalled() const override;

private:
    QStringList m_unitDirectories;
};
