#include "ui/ImageFolder.h"

#include <QCoreApplication>

namespace ImageFolder {

QString path()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/images");
}

QString filePath(const QString &fileName)
{
    return QStringLiteral("%1/images/%2").arg(QCoreApplication::applicationDirPath(), fileName);
}

} // namespace ImageFolder
