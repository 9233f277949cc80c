#include "Glyphs.h"

#include <QFontDatabase>
#include <QHash>
#include <QPainter>
#include <QPen>

#include <stdexcept>

namespace Glyphs {

QPainterPath roundedRect(const QRectF &rect, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

void drawBackdrop(QPainter &painter, const QSizeF &size, const QColor &soft)
{
    painter.fillRect(QRectF(QPointF(0, 0), size), Palette::paper);
    const qreal radius = size.width() / 2 - 2;
    painter.setPen(Qt::NoPen);
    painter.setBrush(soft);
    painter.drawEllipse(QRectF(0, 0, size.width(), size.height()).center(), radius, radius);
}

void drawPrinter(QPainter &painter, const QPointF &origin, qreal scale, const PrinterLook &look)
{
    painter.save();
    painter.translate(origin);
    painter.scale(scale, scale);
    // The sheets' edges are 2 grid units wide, so they thicken with the picture's size.
    const QPen edge(look.outline, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);

    // The sheet going in, behind the body.
    painter.setPen(edge);
    painter.setBrush(look.paper);
    painter.drawPath(roundedRect(QRectF(9, 3, 14, 10), 1.5));

    painter.setPen(Qt::NoPen);
    painter.setBrush(look.body);
    painter.drawPath(roundedRect(QRectF(2, 10, 28, 13.5), 3.5));
    painter.setBrush(look.slot);
    painter.drawPath(roundedRect(QRectF(6, 17, 20, 3), 1.5));
    painter.setBrush(look.light);
    painter.drawEllipse(QPointF(25.5, 13.75), 1.6, 1.6);

    // The printed sheet coming out of the slot.
    painter.setPen(edge);
    painter.setBrush(look.paper);
    QPainterPath sheet;
    sheet.moveTo(9, 18.5);
    sheet.lineTo(9, 28.5);
    sheet.quadTo(9, 30, 10.5, 30);
    sheet.lineTo(21.5, 30);
    sheet.quadTo(23, 30, 23, 28.5);
    sheet.lineTo(23, 18.5);
    painter.drawPath(sheet);
    QPen lines(look.lines, 1.5, Qt::SolidLine, Qt::RoundCap);
    painter.setPen(lines);
    painter.drawLine(QPointF(12.5, 23), QPointF(19.5, 23));
    painter.drawLine(QPointF(12.5, 26.5), QPointF(17.5, 26.5));
    painter.restore();
}

void drawStatusBadge(QPainter &painter, const QPointF &centre, qreal radius, const QColor &fill,
                     Mark mark)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Palette::paper);
    painter.drawEllipse(centre, radius + 2, radius + 2);
    painter.setBrush(fill);
    painter.drawEllipse(centre, radius, radius);
    QPen pen(Palette::paper, radius * 0.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const qreal u = radius / 9.0;
    if (mark == Mark::Check) {
        QPainterPath check;
        check.moveTo(centre + QPointF(-4.3 * u, 0.2 * u));
        check.lineTo(centre + QPointF(-1.2 * u, 3.3 * u));
        check.lineTo(centre + QPointF(4.5 * u, -3.2 * u));
        painter.drawPath(check);
    } else {
        painter.drawLine(centre + QPointF(-4.2 * u, 0), centre + QPointF(4.2 * u, 0));
        painter.drawLine(centre + QPointF(0, -4.2 * u), centre + QPointF(0, 4.2 * u));
    }
    painter.restore();
}

void drawAppMark(QPainter &painter, const QRectF &tile, bool registered)
{
    const QColor base = registered ? Palette::brand : Palette::neutral;
    const QColor dark = registered ? Palette::brandDark : Palette::neutralDark;
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(base);
    painter.drawPath(roundedRect(tile, tile.width() * 0.1875));
    const qreal scale = tile.width() / 38.0;
    const QPointF origin = tile.topLeft() + QPointF(3 * scale, 3.5 * scale);
    drawPrinter(painter, origin, scale,
                {Palette::paper, Palette::paper, base, dark, base.lighter(150),
                 registered ? Palette::positive : Palette::neutralSoft});
    painter.restore();
}

QFont font(bool bold, int pixelSize)
{
    static QHash<bool, QString> families;
    if (!families.contains(bold)) {
        const QString file =
            bold ? QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf")
                 : QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
        const int id = QFontDatabase::addApplicationFont(file);
        const QStringList loaded = QFontDatabase::applicationFontFamilies(id);
        if (loaded.isEmpty()) {
            throw std::runtime_error("cannot load " + file.toStdString() +
                                     " (Debian package fonts-dejavu-core)");
        }
        families.insert(bold, loaded.first());
    }
    QFont result(families.value(bold));
    result.setBold(bold);
    result.setPixelSize(pixelSize);
    result.setHintingPreference(QFont::PreferNoHinting);
    result.setKerning(true);
    return result;
}

QPainterPath textPath(const QString &text, const QFont &font, qreal letterSpacing)
{
    QFont spaced = font;
    if (letterSpacing != 0) {
        spaced.setLetterSpacing(QFont::AbsoluteSpacing, letterSpacing);
    }
    QPainterPath path;
    path.addText(QPointF(0, 0), spaced, text);
    return path;
}

} // namespace Glyphs
