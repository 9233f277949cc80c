#include "ButtonPictures.h"

#include "Palette.h"

#include <QLinearGradient>
#include <QPainter>

namespace ButtonPictures {

QImage background(Kind kind, const QSize &size)
{
    QColor top;
    QColor bottom;
    QColor edge;
    switch (kind) {
    case Kind::Confirm:
        top = Palette::confirmTop;
        bottom = Palette::confirmBottom;
        edge = Palette::confirmEdge;
        break;
    case Kind::ConfirmDisabled:
        top = Palette::mutedTop;
        bottom = Palette::mutedBottom;
        edge = Palette::mutedEdge;
        break;
    case Kind::Cancel:
        top = Palette::cancelTop;
        bottom = Palette::cancelBottom;
        edge = Palette::cancelEdge;
        break;
    }
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    // The edge is about a twelfth of the height; the rows above it, pixel (1, 1) included,
    // are the shade, so the colour the button fills its rectangle with matches the picture.
    const int edgeHeight = qMax(2, qRound(size.height() / 12.0));
    const int shadeHeight = size.height() - edgeHeight;
    QLinearGradient shade(0, 0, 0, shadeHeight);
    shade.setColorAt(0, top);
    shade.setColorAt(0.15, top);
    shade.setColorAt(1, bottom);
    painter.fillRect(QRect(0, 0, size.width(), shadeHeight), shade);
    painter.fillRect(QRect(0, shadeHeight, size.width(), edgeHeight), edge);
    return image;
}

} // namespace ButtonPictures
