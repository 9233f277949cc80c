#pragma once

#include <QImage>
#include <QString>

// Simplified flags of the countries of the dialects, 90 x 60 (the language list shows them at
// 45 x 30): flat colours, whole-pixel edges where the design allows, a thin grey border so
// that white parts do not melt into the list.
namespace FlagPictures {

// A flag for a dialect code such as "en_us"; a null image for a code without a design.
QImage flag(const QString &dialect);

QStringList dialects();

} // namespace FlagPictures
