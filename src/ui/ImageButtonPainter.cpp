#include "ui/ImageButtonPainter.h"

#include "ui/ImageButton.h"

#include <QImage>
#include <QPainter>

namespace UtilsLib {

ImageButtonPainter::ImageButtonPainter(ImageButton *button)
    : m_button(button)
    , m_textBoxSize(button->width(), button->height())
    , m_text(button->text())
    , m_textColor(Qt::black)
    , m_font(button->font())
    , m_textFlags(Qt::AlignHCenter | Qt::AlignVCenter)
    , m_buttonRect(0, 0, button->width(), button->height())
    , m_backgroundColor(Qt::black)
{}

void ImageButtonPainter::paint(QPainter &painter)
{
    const bool enabled = m_button->isEnabled();
    m_picture = (!enabled && !m_button->disabledImage().isNull()) ? m_button->disabledImage()
                                                                  : m_button->image();
    m_textColor = enabled ? QColor(Qt::black) : QColor(Qt::gray);
    m_pen = QPen(m_textColor, 0, Qt::SolidLine);

    const QPixmap scaled = m_picture.isNull()
                               ? QPixmap()
                               : m_picture.scaled(m_buttonRect.size(), Qt::IgnoreAspectRatio,
                                                  Qt::SmoothTransformation);
    if (!scaled.isNull()) {
        const QImage image = scaled.toImage();
        // Pictures smaller than 2 x 2 have no pixel (1, 1); their first pixel stands in.
        const QPoint probe = (image.width() > 1 && image.height() > 1) ? QPoint(1, 1) : QPoint();
        m_backgroundColor = image.pixelColor(probe);
    }

    m_picturePosition = QPoint((m_buttonRect.width() - scaled.width()) / 2, 0);
    m_textPosition = QPoint(0, 0);
    if (m_button->isDown()) {
        m_picturePosition += QPoint(1, 1);
        m_textPosition = QPoint(1, 1);
    }

    painter.fillRect(m_buttonRect, QBrush(m_backgroundColor, Qt::SolidPattern));
    if (!scaled.isNull())
        painter.drawPixmap(m_picturePosition, scaled);
    painter.setFont(m_font);
    painter.setPen(m_pen);
    painter.drawText(QRect(m_textPosition, m_textBoxSize), m_textFlags, m_text);
}

} // namespace UtilsLib
