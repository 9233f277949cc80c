#pragma once

#include "core/PcInfoProviderInterface.h"

#include <QMap>
#include <QProcessEnvironment>
#include <QString>

// PcInfoProviderInterface on Linux. A session is remote when SSH_CONNECTION or XRDP_SESSION is
// set or logind marks it REMOTE; the client then is the SSH peer (or logind's REMOTE_HOST).
// Failures throw std::runtime_error with the texts the callers log; it never caches answers,
// so a session that changes is seen at the next call.
class PcInfoProvider : public PcInfoProviderInterface
{
public:
    // The process environment and logind's session folder (/run/systemd/sessions).
    PcInfoProvider();
    // environment replaces the process environment; logindSessionFolder holds one KEY=VALUE
    // file per session, named by XDG_SESSION_ID.
    PcInfoProvider(const QProcessEnvironment &environment, const QString &logindSessionFolder);

    bool isRemoteSession() const override;
    QString machineName() const override;
    QString machineAddress() const override;

private:
    QString sshClientAddress() const;
    QMap<QString, QString> logindSession() const;
    QString sessionName() const;
    QString sessionAddress() const;
    static QString netbiosName();
    static QString hostAddress();

    QProcessEnvironment m_environment;
    QString m_logindSessionFolder;
};
