#include "ui/ImageButton.h"
#include "ui/ImageButtonPainter.h"

#include <QPainter>
#include <QtTest>

namespace {

const QColor Probe(200, 30, 40);   // the picture's pixel (1, 1)
const QColor Body(40, 120, 220);   // every other pixel of the picture
const QColor Faded(230, 230, 230); // the disabled picture

// A picture exactly the button's size, so scaling leaves its pixels as they are.
QPixmap picture(const QSize &size, const QColor &body, const QColor &probe)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(body);
    image.setPixelColor(1, 1, probe);
    return QPixmap::fromImage(image);
}

bool hasPixel(const QImage &image, const QColor &colour)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == colour)
                return true;
    return false;
}

class CountingPainter : public UtilsLib::ImageButtonPainter
{
public:
    using ImageButtonPainter::ImageButtonPainter;
    void paint(QPainter &painter) override
    {
        ++paints;
        painter.fillRect(0, 0, 4, 4, Qt::green);
    }
    int paints = 0;
};

} // namespace

class TestImageButton : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void pictureFillsTheButton();
    void pressedContentMovesDownAndRight();
    void textColourFollowsTheState_data();
    void textColourFollowsTheState();
    void disabledPictureIsUsedWhenGiven_data();
    void disabledPictureIsUsedWhenGiven();
    void withoutPictureItIsAPlainButton();
    void installedPainterIsUsed();

private:
    UtilsLib::ImageButton *m_button = nullptr;
};

void TestImageButton::init()
{
    m_button = new UtilsLib::ImageButton;
    m_button->setFixedSize(100, 40);
    m_button->setImage(picture(QSize(100, 40), Body, Probe));
}

void TestImageButton::cleanup()
{
    delete m_button;
}

void TestImageButton::pictureFillsTheButton()
{
    const QImage shot = m_button->grab().toImage();
    QCOMPARE(shot.size(), QSize(100, 40));
    QCOMPARE(shot.pixelColor(0, 0), Body);
    QCOMPARE(shot.pixelColor(1, 1), Probe);
    QCOMPARE(shot.pixelColor(99, 39), Body);
    UtilsLib::ImageButtonPainter painter(m_button);
    QImage canvas(100, 40, QImage::Format_RGB32);
    QPainter onCanvas(&canvas);
    painter.paint(onCanvas);
    QCOMPARE(painter.backgroundColor(), Probe);
}

void TestImageButton::pressedContentMovesDownAndRight()
{
    m_button->setDown(true);
    const QImage shot = m_button->grab().toImage();
    // The uncovered top row and left column show the background, the colour of pixel (1, 1).
    QCOMPARE(shot.pixelColor(0, 0), Probe);
    QCOMPARE(shot.pixelColor(50, 0), Probe);
    QCOMPARE(shot.pixelColor(0, 20), Probe);
    QCOMPARE(shot.pixelColor(1, 1), Body);
    QCOMPARE(shot.pixelColor(2, 2), Probe);
}

void TestImageButton::textColourFollowsTheState_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QColor>("present");
    QTest::addColumn<QColor>("absent");
    QTest::newRow("enabled") << true << QColor(Qt::black) << QColor(Qt::gray);
    QTest::newRow("disabled") << false << QColor(Qt::gray) << QColor(Qt::black);
}

void TestImageButton::textColourFollowsTheState()
{
    QFETCH(bool, enabled);
    QFETCH(QColor, present);
    QFETCH(QColor, absent);
    QFont font = m_button->font();
    font.setPixelSize(30);
    font.setBold(true);
    m_button->setFont(font);
    m_button->setText(QStringLiteral("MW"));
    m_button->setEnabled(enabled);
    const QImage shot = m_button->grab().toImage();
    QVERIFY(hasPixel(shot, present));
    QVERIFY(!hasPixel(shot, absent));
}

void TestImageButton::disabledPictureIsUsedWhenGiven_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("withDisabledPicture");
    QTest::addColumn<QColor>("shown");
    QTest::newRow("enabled") << true << true << Body;
    QTest::newRow("disabled with picture") << false << true << Faded;
    QTest::newRow("disabled without picture") << false << false << Body;
}

void TestImageButton::disabledPictureIsUsedWhenGiven()
{
    QFETCH(bool, enabled);
    QFETCH(bool, withDisabledPicture);
    if (withDisabledPicture)
        m_button->setDisabledImage(picture(QSize(100, 40), Faded, Faded));
    m_button->setEnabled(enabled);
    QTEST(m_button->grab().toImage().pixelColor(50, 5), "shown");
}

void TestImageButton::withoutPictureItIsAPlainButton()
{
    UtilsLib::ImageButton plain;
    plain.setFixedSize(100, 40);
    plain.setText(QStringLiteral("OK"));
    QPushButton reference;
    reference.setFixedSize(100, 40);
    reference.setText(QStringLiteral("OK"));
    QCOMPARE(plain.grab().toImage(), reference.grab().toImage());
}

void TestImageButton::installedPainterIsUsed()
{
    CountingPainter painter(m_button);
    m_button->setPainter(&painter);
    const QImage shot = m_button->grab().toImage();
    QVERIFY(painter.paints >= 1);
    QCOMPARE(shot.pixelColor(0, 0), QColor(Qt::green));
    m_button->setPainter(nullptr);
}

QTEST_MAIN(TestImageButton)
#include "tst_imagebutton.moc"
