#pragma once

#include <QPixmap>
#include <QString>

// The pictures read from disk at run time: the images folder beside the executable.
namespace ImageFolder {

// <application directory>/images
QString path();
// "%1/images/%2": fileName carries its own extension ("button1.jpg").
QString filePath(const QString &fileName);
// The picture of a dialog by name: <application directory>/images/<name>.png, or the
// compiled-in picture of the same name when that file is missing or unreadable; null when
// neither exists.
QPixmap dialogPicture(const QString &name);

} // namespace ImageFolder
