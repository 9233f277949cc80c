#pragma once

#include <QColor>
#include <QFont>
#include <QPen>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;

namespace UtilsLib {

class ImageButton;

// Draws one ImageButton: its picture stretched over the button, the picture's own
// background colour around it, the text centred on top, everything one pixel down and to
// the right while pressed. Built for one paint of one button; it owns nothing.
class ImageButtonPainter
{
public:
    explicit ImageButtonPainter(ImageButton *button);
    virtual ~ImageButtonPainter() = default;
    ImageButtonPainter(const ImageButtonPainter &) = delete;
    ImageButtonPainter &operator=(const ImageButtonPainter &) = delete;

    virtual void paint(QPainter &painter);

    QColor backgroundColor() const { return m_backgroundColor; }

private:
    ImageButton *m_button;
    QPixmap m_picture;
    QPoint m_picturePosition;
    QPoint m_textPosition;
    QSize m_textBoxSize;
    QString m_text;
    QColor m_textColor;
    QFont m_font;
    int m_textFlags;
    QPen m_pen;
    QRect m_buttonRect;
    QColor m_backgroundColor;
};

} // namespace UtilsLib
