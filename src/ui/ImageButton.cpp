#include "ui/ImageButton.h"

#include "ui/ImageButtonPainter.h"
#include "ui/ImageFolder.h"

#include <QPainter>

namespace UtilsLib {

ImageButton::ImageButton(QWidget *parent)
    : QPushButton(parent)
{}

ImageButton *ImageButton::fromImageFolder(QWidget *parent, const QString &objectName,
                                          const QString &picture, const QString &disabledPicture)
{
    auto *button = new ImageButton(parent);
    button->setObjectName(objectName);
    button->setImage(QPixmap(ImageFolder::filePath(picture)));
    if (!disabledPicture.isEmpty())
        button->setDisabledImage(QPixmap(ImageFolder::filePath(disabledPicture)));
    button->setMinimumWidth(80);
    return button;
}

void ImageButton::setImage(const QPixmap &image)
{
    m_image = image;
    update();
}

void ImageButton::setDisabledImage(const QPixmap &image)
{
    m_disabledImage = image;
    update();
}

void ImageButton::setPainter(ImageButtonPainter *painter)
{
    m_painter = painter;
    update();
}

void ImageButton::paintEvent(QPaintEvent *event)
{
    const bool useDisabled = !isEnabled() && !m_disabledImage.isNull();
    if (!m_painter && (useDisabled ? m_disabledImage : m_image).isNull()) {
        QPushButton::paintEvent(event);
        return;
    }
    QPainter painter(this);
    if (m_painter) {
        m_painter->paint(painter);
    } else {
        ImageButtonPainter defaultPainter(this);
        defaultPainter.paint(painter);
    }
    // The picture covers the style's own focus frame; keyboard users still need to see
    // which button Space would press.
    if (hasFocus()) {
        QPen pen(palette().color(QPalette::Highlight), 2);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
}

} // namespace UtilsLib
