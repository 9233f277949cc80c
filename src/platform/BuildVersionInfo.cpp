#include "platform/BuildVersionInfo.h"

#include "BuildVersion.h"

#include <QCoreApplication>
#include <QFileInfo>

QString BuildVersionInfo::fileVersion() const
{
    return formatFileVersion(ONDTPC_VERSION_MAJOR, ONDTPC_VERSION_MINOR, ONDTPC_VERSION_PATCH,
                             ONDTPC_VERSION_TWEAK);
}

QString BuildVersionInfo::companyName() const
{
    return QString::fromUtf8(ONDTPC_COMPANY_NAME);
}

QString BuildVersionInfo::copyright() const
{
    return QString::fromUtf8(ONDTPC_COPYRIGHT);
}

QString BuildVersionInfo::fileDescription() const
{
    return QString::fromUtf8(ONDTPC_FILE_DESCRIPTION);
}

QString BuildVersionInfo::productName() const
{
    return QString::fromUtf8(ONDTPC_PRODUCT_NAME);
}

QString BuildVersionInfo::executableBaseName() const
{
    if (!QCoreApplication::instance())
        return QString();
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

QString BuildVersionInfo::formatFileVersion(int major, int minor, int patch, int build)
{
    return QString::asprintf("%02d.%02d.%02d.%04d", major, minor, patch, build);
}

QString BuildVersionInfo::releaseVersion()
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(ONDTPC_VERSION_MAJOR)
        .arg(ONDTPC_VERSION_MINOR)
        .arg(ONDTPC_VERSION_PATCH)
        .arg(ONDTPC_VERSION_TWEAK);
}
