#pragma once

#include <QPixmap>
#include <QPushButton>

namespace UtilsLib {

class ImageButtonPainter;

// A push button drawn from a picture, with its text on top. Without a picture it is an
// ordinary push button, so a missing picture file still gives a usable button.
class ImageButton : public QPushButton
{
    Q_OBJECT

public:
    explicit ImageButton(QWidget *parent = nullptr);
    // A button of the dialogs: named, drawn from the images folder's picture (and its disabled
    // picture when one is named) and at least 80 pixels wide.
    static ImageButton *fromImageFolder(QWidget *parent, const QString &objectName,
                                        const QString &picture,
                                        const QString &disabledPicture = QString());

    QPixmap image() const { return m_image; }
    void setImage(const QPixmap &image);
    // Shown while the button is disabled; when null the normal image is shown in grey text.
    QPixmap disabledImage() const { return m_disabledImage; }
    void setDisabledImage(const QPixmap &image);
    // Not owned; null restores the default painting. The painter must outlive its use here.
    ImageButtonPainter *painter() const { return m_painter; }
    void setPainter(ImageButtonPainter *painter);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_image;
    QPixmap m_disabledImage;
    ImageButtonPainter *m_painter = nullptr;
};

} // namespace UtilsLib
