#include "BrandPictures.h"

#include "Glyphs.h"
#include "Palette.h"

#include <QPainter>

namespace BrandPictures {

QImage logo()
{
    QImage image(300, 175, QImage::Format_ARGB32_Premultiplied);
    image.fill(Palette::paper);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    const qreal markSide = 64;
    Glyphs::drawAppMark(painter, QRectF((300 - markSide) / 2, 12, markSide, markSide), true);

    painter.setPen(Qt::NoPen);
    const QPainterPath word = Glyphs::textPath(QStringLiteral("Ondrel"), Glyphs::font(true, 50));
    const QRectF wordBox = word.boundingRect();
    painter.setBrush(Palette::ink);
    painter.drawPath(word.translated((300 - wordBox.width()) / 2 - wordBox.left(), 128));

    const QPainterPath line =
        Glyphs::textPath(QStringLiteral("Laptop Print Client"), Glyphs::font(false, 15), 0.6);
    const QRectF lineBox = line.boundingRect();
    painter.setBrush(Palette::inkSoft);
    painter.drawPath(line.translated((300 - lineBox.width()) / 2 - lineBox.left(), 156));
    return image;
}

QImage smallTrayIcon(bool registered)
{
    const QColor base = registered ? Palette::brand : Palette::neutral;
    const QColor dark = registered ? Palette::brandDark : Palette::neutralDark;
    QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(base);
    painter.drawPath(Glyphs::roundedRect(QRectF(0, 0, 16, 16), 3));

    // Whole pixels only from here: the sheet in, the body, the slot, the sheet out.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRect(4, 2, 8, 3), Palette::paper);
    painter.fillRect(QRect(2, 6, 12, 5), Palette::paper);
    painter.fillRect(QRect(4, 9, 8, 1), dark);
    painter.fillRect(QRect(4, 10, 8, 4), Palette::paper);
    painter.fillRect(QRect(5, 12, 6, 1), base.lighter(150));
    painter.fillRect(QRect(11, 7, 1, 1), registered ? Palette::positive : Palette::neutralSoft);
    // Softened corners on the body.
    const QColor half =
        QColor::fromRgbF((base.redF() + 1) / 2, (base.greenF() + 1) / 2, (base.blueF() + 1) / 2);
    for (const QPoint &corner : {QPoint(2, 6), QPoint(13, 6), QPoint(2, 10), QPoint(13, 10)}) {
        painter.fillRect(QRect(corner, QSize(1, 1)), half);
    }
    return image;
}

QImage largeTrayIcon()
{
    QImage image(48, 48, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    Glyphs::drawAppMark(painter, QRectF(0, 0, 48, 48), true);
    return image;
}

} // namespace BrandPictures
