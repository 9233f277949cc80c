#pragma once

#include "Palette.h"

#include <QFont>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>

class QPainter;

// Shapes that several pictures share, so that the printer of the tray icon, the logo and the
// dialog pictures is one and the same drawing.
namespace Glyphs {

// The colours of the printer glyph.
struct PrinterLook
{
    QColor body;
    QColor paper;
    QColor outline; // edge of the sheets
    QColor slot;    // the dark output slot on the body
    QColor lines;   // the printed lines on the output sheet
    QColor light;   // the status light on the body
};

QPainterPath roundedRect(const QRectF &rect, qreal radius);

// A white canvas with the round, softly tinted backdrop of a 50 x 50 dialog picture.
void drawBackdrop(QPainter &painter, const QSizeF &size, const QColor &soft);

// The printer, designed on a 32 x 32 grid whose top left corner lands on origin.
void drawPrinter(QPainter &painter, const QPointF &origin, qreal scale, const PrinterLook &look);

enum class Mark { Check, Plus };

// A small round status badge (a check mark or a plus) with a white ring that separates it
// from the glyph it overlaps.
void drawStatusBadge(QPainter &painter, const QPointF &centre, qreal radius, const QColor &fill,
                     Mark mark);

// The application mark: a rounded tile with a white printer. Grey while not registered.
void drawAppMark(QPainter &painter, const QRectF &tile, bool registered);

// DejaVu Sans (bold or book) at a pixel size, loaded from the font file so that no other
// family can stand in for it; throws std::runtime_error when the font is not installed.
QFont font(bool bold, int pixelSize);

// The outline of a text, so that the pictures do not depend on the machine's hinting settings.
QPainterPath textPath(const QString &text, const QFont &font, qreal letterSpacing = 0);

} // namespace Glyphs
