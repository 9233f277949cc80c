#include "core/AppFolders.h"

#include <QDir>
#include <QFileInfo>

namespace AppFolders {

namespace {

const char *const CompanyFolder = "Brindlecore";

QString fromTemplate(const char *pattern, const QString &subPath)
{
    const QString common = commonAppData();
    if (common.isEmpty())
        return QString();
    return QDir::toNativeSeparators(QString::fromLatin1(pattern).arg(common, subPath));
}

QString perUserStateFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !QDir::isAbsolutePath(state)) {
        const QString home = QDir::homePath();
        if (home.isEmpty())
            return QString();
        state = home + QLatin1String("/.local/state");
    }
    return QDir::cleanPath(state);
}

} // namespace

QString commonAppData()
{
    const QString configured = qEnvironmentVariable("ONDTPC_COMMON_APPDATA");
    if (!configured.isEmpty())
        return QDir::cleanPath(configured);

    if (QFileInfo(QStringLiteral("/var/lib/%1").arg(QLatin1String(CompanyFolder))).isDir())
        return QStringLiteral("/var/lib");

    // Without an installation the per-user state folder plays the shared folder's part;
    // creating Brindlecore here does what the installer does for /var/lib.
    const QString state = perUserStateFolder();
    if (state.isEmpty() || !QDir().mkpath(state + QLatin1Char('/') + QLatin1String(CompanyFolder)))
        return QString();
    return state;
}

QString dataFolder(const QString &subPath)
{
    return fromTemplate("%1/Brindlecore/%2", subPath);
}

QString logFolder(const QString &subPath)
{
    return fromTemplate("%1/Brindlecore/%2/logs", subPath);
}

QString languageFolder(const QString &subPath)
{
    return fromTemplate("%1/Brindlecore/%2/languages", subPath);
}

QString userLogFolder(const QString &subPath)
{
    const QString state = perUserStateFolder();
    if (state.isEmpty())
        return QString();
    return QStringLiteral("%1/%2/%3/logs").arg(state, QLatin1String(CompanyFolder), subPath);
}

} // namespace AppFolders
