#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>
#include <QStringList>

namespace UtilsLib {
class RegistryInterface;
}

// The pictures compiled into the program (tray icons, product logo, dialog pictures), looked
// up by their case-sensitive names. GUI thread only.
namespace EmbeddedImages {

// The 17 names, in table order.
QStringList names();
// A 32-bit image (ARGB32 for the pictures with alpha, RGB32 otherwise), or a null image for a
// name that is not in the table.
QImage embeddedImage(const QString &name);

// The picture with its heuristic mask, so that its plain background shows the dialog's.
QPixmap withHeuristicMask(const QPixmap &picture);

// Each is made once and kept until the application object is destroyed.
QPixmap allocationPixmap();
QPixmap depositPixmap();
QPixmap passwordPixmap();
QPixmap wantToPrintPixmap();
QPixmap userIdPixmap();
QPixmap printOkPixmap();
QPixmap logoPixmap();
QPixmap disconnectedTrayPixmap();

// "PrintClient" (16 x 16) when the user's taskbar shows small icons, which is also the answer
// when the setting is absent or unreadable, else "PrintClientLarge" (48 x 48). The registry's
// connected root is restored afterwards.
QString registeredTrayPixmapName(UtilsLib::RegistryInterface &registry);
// The picture of registeredTrayPixmapName, chosen on the first call and kept.
QPixmap registeredTrayPixmap(UtilsLib::RegistryInterface &registry);

} // namespace EmbeddedImages
