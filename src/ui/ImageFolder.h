#pragma once

#include <QString>

// The pictures read from disk at run time (button backgrounds, flags): the images folder beside
// the executable.
namespace ImageFolder {

// <application directory>/images
QString path();
// "%1/images/%2": fileName carries its own extension ("button1.jpg").
QString filePath(const QString &fileName);

} // namespace ImageFolder
