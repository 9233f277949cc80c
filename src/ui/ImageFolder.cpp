#include "ui/ImageFolder.h"

#include "ui/EmbeddedImages.h"

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

QPixmap dialogPicture(const QString &name)
{
    const QPixmap fromDisk(filePath(name + QStringLiteral(".png")));
    if (!fromDisk.isNull())
        return fromDisk;
    return QPixmap::fromImage(EmbeddedImages::embeddedImage(name));
}

} // namespace ImageFolder
