#include "FlagPictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QStringList>

namespace FlagPictures {

namespace {

constexpr int width = 90;
constexpr int height = 60;
constexpr int border = 2;

void unitedStates(QPainter &painter)
{
    // Seven stripes instead of thirteen: at 45 x 30 thirteen turn into a pink blur. Each
    // stripe is 8 px high inside the border, so the edges fall on whole pixels.
    const QColor red(0xb2, 0x22, 0x34);
    const QColor blue(0x3c, 0x3b, 0x6e);
    for (int i = 0; i < 7; ++i) {
        painter.fillRect(QRect(0, border + i * 8, width, 8), i % 2 == 0 ? red : QColor(Qt::white));
    }
    painter.fillRect(QRect(0, 0, 40, border + 4 * 8), blue);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    for (int row = 0; row < 4; ++row) {
        const int columns = row % 2 == 0 ? 5 : 4;
        const qreal offset = row % 2 == 0 ? 0 : 3.5;
        for (int column = 0; column < columns; ++column) {
            painter.drawEllipse(QPointF(7 + offset + column * 7, 7 + row * 7), 1.7, 1.7);
        }
    }
}

void canada(QPainter &painter)
{
    const QColor red(0xd5, 0x2b, 0x1e);
    painter.fillRect(QRect(0, 0, width, height), Qt::white);
    painter.fillRect(QRect(0, 0, 23, height), red);
    painter.fillRect(QRect(width - 23, 0, 23, height), red);
    // The maple leaf's outline, symmetric about x = 0, on a grid of 4000 units in height.
    const QList<QPointF> half = {
        {0, -2000},   {332, -1348}, {423, -1321}, {750, -1510}, {546, -458},
        {657, -401},  {1080, -855}, {1185, -608}, {1258, -570}, {1800, -685},
        {1614, -113}, {1648, -34},  {1860, 65},   {919, 827},   {899, 900},
        {1015, 1220}, {156, 1069},  {45, 1167},   {90, 2030},
    };
    QPolygonF leaf;
    for (const QPointF &point : half) {
        leaf << point;
    }
    for (qsizetype i = half.size() - 1; i >= 0; --i) {
        leaf << QPointF(-half.at(i).x(), half.at(i).y());
    }
    const qreal scale = 0.0102;
    painter.save();
    painter.translate(width / 2.0, height / 2.0 - 0.3);
    painter.scale(scale, scale);
    painter.setPen(Qt::NoPen);
    painter.setBrush(red);
    painter.drawPolygon(leaf);
    painter.restore();
}

void unitedKingdom(QPainter &painter)
{
    const QColor blue(0x01, 0x21, 0x69);
    const QColor red(0xc8, 0x10, 0x2e);
    painter.fillRect(QRect(0, 0, width, height), blue);
    painter.save();
    painter.setClipRect(QRect(0, 0, width, height));
    const QLineF down(0, 0, width, height);
    const QLineF up(0, height, width, 0);
    painter.setPen(QPen(Qt::white, 12, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(down.pointAt(-0.1), down.pointAt(1.1));
    painter.drawLine(up.pointAt(-0.1), up.pointAt(1.1));
    painter.setPen(QPen(red, 4, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(down.pointAt(-0.1), down.pointAt(1.1));
    painter.drawLine(up.pointAt(-0.1), up.pointAt(1.1));
    painter.restore();
    painter.fillRect(QRect(0, 20, width, 20), Qt::white);
    painter.fillRect(QRect(35, 0, 20, height), Qt::white);
    painter.fillRect(QRect(0, 24, width, 12), red);
    painter.fillRect(QRect(39, 0, 12, height), red);
}

void verticalThirds(QPainter &painter, const QColor &first, const QColor &second,
                    const QColor &third)
{
    painter.fillRect(QRect(0, 0, 30, height), first);
    painter.fillRect(QRect(30, 0, 30, height), second);
    painter.fillRect(QRect(60, 0, 30, height), third);
}

void spain(QPainter &painter)
{
    const QColor red(0xaa, 0x15, 0x1b);
    painter.fillRect(QRect(0, 0, width, height), red);
    painter.fillRect(QRect(0, 15, width, 30), QColor(0xf1, 0xbf, 0x00));
}

void germany(QPainter &painter)
{
    painter.fillRect(QRect(0, 0, width, 20), QColor(0x1a, 0x1a, 0x1a));
    painter.fillRect(QRect(0, 20, width, 20), QColor(0xdd, 0x00, 0x00));
    painter.fillRect(QRect(0, 40, width, 20), QColor(0xff, 0xce, 0x00));
}

} // namespace

QStringList dialects()
{
    return {QStringLiteral("en_us"), QStringLiteral("fr_ca"), QStringLiteral("es_us"),
            QStringLiteral("en_gb"), QStringLiteral("fr_fr"), QStringLiteral("es_es"),
            QStringLiteral("de_de")};
}

QImage flag(const QString &dialect)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    if (dialect == QLatin1String("en_us") || dialect == QLatin1String("es_us")) {
        unitedStates(painter);
    } else if (dialect == QLatin1String("fr_ca")) {
        canada(painter);
    } else if (dialect == QLatin1String("en_gb")) {
        unitedKingdom(painter);
    } else if (dialect == QLatin1String("fr_fr")) {
        verticalThirds(painter, QColor(0x00, 0x55, 0xa4), Qt::white, QColor(0xef, 0x41, 0x35));
    } else if (dialect == QLatin1String("es_es")) {
        spain(painter);
    } else if (dialect == QLatin1String("de_de")) {
        germany(painter);
    } else {
        return {};
    }
    // Two pixels here, one where the list shows the flag.
    const QColor frame(0x9a, 0xa3, 0xad);
    painter.fillRect(QRect(0, 0, width, border), frame);
    painter.fillRect(QRect(0, height - border, width, border), frame);
    painter.fillRect(QRect(0, 0, border, height), frame);
    painter.fillRect(QRect(width - border, 0, border, height), frame);
    return image;
}

} // namespace FlagPictures
