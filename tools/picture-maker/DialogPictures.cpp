#include "DialogPictures.h"

#include "Glyphs.h"

#include <QPainter>
#include <QtMath>

namespace DialogPictures {

namespace {

constexpr int side = 50;

// Starts a picture: white, with the backdrop drawn; the painter is left antialiased.
QImage canvas(const QColor &soft, QPainter &painter)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Palette::paper);
    painter.begin(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    Glyphs::drawBackdrop(painter, QSizeF(side, side), soft);
    return image;
}

Glyphs::PrinterLook printerLook(const Palette::Tones &tones)
{
    return {tones.strong,  Palette::paper, tones.strong, tones.dark, tones.strong.lighter(160),
            Palette::paper};
}

} // namespace

QImage userId()
{
    const Palette::Tones tones = Palette::brandTones();
    QPainter painter;
    QImage image = canvas(tones.soft, painter);
    painter.setPen(Qt::NoPen);
    painter.setBrush(tones.strong);
    painter.drawEllipse(QPointF(25, 18.5), 7.5, 7.5);
    QPainterPath body;
    body.moveTo(11, 39);
    body.cubicTo(11, 31.5, 17, 28, 25, 28);
    body.cubicTo(33, 28, 39, 31.5, 39, 39);
    body.quadTo(39, 41, 37, 41);
    body.lineTo(13, 41);
    body.quadTo(11, 41, 11, 39);
    painter.drawPath(body);
    painter.end();
    return image;
}

QImage wantToPrint()
{
    const Palette::Tones tones = Palette::brandTones();
    QPainter painter;
    QImage image = canvas(tones.soft, painter);
    Glyphs::drawPrinter(painter, QPointF(9, 8.5), 1.0, printerLook(tones));
    painter.end();
    return image;
}

QImage printOk()
{
    const Palette::Tones tones = Palette::positiveTones();
    QPainter painter;
    QImage image = canvas(tones.soft, painter);
    Glyphs::drawPrinter(painter, QPointF(6, 7.5), 1.0, printerLook(Palette::brandTones()));
    Glyphs::drawStatusBadge(painter, QPointF(35.5, 34.5), 8.5, tones.strong, Glyphs::Mark::Check);
    painter.end();
    return image;
}

QImage password()
{
    const Palette::Tones tones = Palette::brandTones();
    QPainter painter;
    QImage image = canvas(tones.soft, painter);
    QPen shackle(tones.dark, 3.5, Qt::SolidLine, Qt::FlatCap);
    painter.setPen(shackle);
    painter.setBrush(Qt::NoBrush);
    QPainterPath arc;
    arc.moveTo(18, 25);
    arc.lineTo(18, 19);
    arc.arcTo(QRectF(18, 12, 14, 14), 180, -180);
    arc.lineTo(32, 25);
    painter.drawPath(arc);
    painter.setPen(Qt::NoPen);
    painter.setBrush(tones.strong);
    painter.drawPath(Glyphs::roundedRect(QRectF(13, 23, 24, 18), 3.5));
    painter.setBrush(Palette::paper);
    painter.drawEllipse(QPointF(25, 30.5), 2.6, 2.6);
    painter.drawPath(Glyphs::roundedRect(QRectF(23.9, 31, 2.2, 5.5), 1.1));
    painter.end();
    return image;
}

QImage allocation()
{
    const Palette::Tones tones = Palette::brandTones();
    QPainter painter;
    QImage image = canvas(tones.soft, painter);
    const QPointF centre(23.5, 26.5);
    const qreal radius = 14.5;
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    // Shares of one budget; the highlighted share is lifted out of the pie.
    auto slice = [&](qreal start, qreal span, const QColor &colour, qreal lift) {
        const qreal middle = qDegreesToRadians(start + span / 2);
        const QPointF shift(qCos(middle) * lift, -qSin(middle) * lift);
        QPainterPath path;
        path.moveTo(centre + shift);
        path.arcTo(box.translated(shift), start, span);
        path.closeSubpath();
        painter.setBrush(colour);
        painter.drawPath(path);
    };
    painter.setPen(Qt::NoPen);
    slice(90, 200, tones.strong, 0);
    slice(290, 70, tones.dark, 0);
    slice(0, 90, tones.accent, 3);
    // A gap between the two shares that stay in the pie.
    painter.setPen(QPen(tones.soft, 2, Qt::SolidLine, Qt::FlatCap));
    const qreal cut = qDegreesToRadians(290.0);
    painter.drawLine(centre, centre + QPointF(qCos(cut), -qSin(cut)) * (radius + 1));
    painter.end();
    return image;
}

QImage deposit(const Palette::Tones &tones)
{
    QPainter painter;
    QImage image = canvas(tones.soft, painter);
    // A stack of coins seen from the side, the top one seen from above, and a plus: money in.
    painter.setPen(QPen(tones.accentDark, 1.25));
    painter.setBrush(tones.accent);
    const qreal left = 9;
    const qreal width = 23;
    const qreal thickness = 4.5;
    for (const qreal top : {34.0, 29.5, 25.0}) {
        QPainterPath edge;
        edge.moveTo(left, top);
        edge.lineTo(left, top + thickness);
        edge.arcTo(QRectF(left, top + thickness - 4, width, 8), 180, 180);
        edge.lineTo(left + width, top);
        edge.closeSubpath();
        painter.drawPath(edge);
        painter.drawEllipse(QRectF(left, top - 4, width, 8));
    }
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QRectF(left + 5, 22.75, width - 10, 4.5));
    Glyphs::drawStatusBadge(painter, QPointF(35, 17.5), 7.5, tones.strong, Glyphs::Mark::Plus);
    painter.end();
    return image;
}

QImage credit(const Palette::Tones &tones)
{
    QPainter painter;
    QImage image = canvas(tones.soft, painter);
    painter.setPen(Qt::NoPen);
    const QRectF card(8, 14, 34, 23);
    painter.setBrush(tones.strong);
    painter.drawPath(Glyphs::roundedRect(card, 3.5));
    painter.setBrush(tones.dark);
    painter.drawRect(QRectF(card.left(), 18.5, card.width(), 5));
    painter.setBrush(tones.accent);
    painter.drawPath(Glyphs::roundedRect(QRectF(12, 27, 7, 5.5), 1.2));
    painter.setBrush(tones.soft);
    painter.drawPath(Glyphs::roundedRect(QRectF(22, 28.5, 16, 2.5), 1.25));
    painter.end();
    return image;
}

} // namespace DialogPictures
