#include "settings/Registry.h"
#include "ui/EmbeddedImages.h"
#include "ui/ImageButton.h"
#include "ui/ImageButtonPainter.h"
#include "ui/ImageFolder.h"

#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

using UtilsLib::RegistryRoot;

namespace {

const QString ExplorerAdvanced = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
const QColor Probe(200, 30, 40);   // a button picture's pixel (1, 1)
const QColor Body(40, 120, 220);   // every other pixel of that picture
const QColor Faded(230, 230, 230); // the disabled picture

// A picture exactly the button's size, so scaling leaves its pixels as they are.
QPixmap picture(const QColor &body, const QColor &probe)
{
    QImage image(100, 40, QImage::Format_RGB32);
    image.fill(body);
    image.setPixelColor(1, 1, probe);
    return QPixmap::fromImage(image);
}

class GreenPainter : public UtilsLib::ImageButtonPainter
{
public:
    using ImageButtonPainter::ImageButtonPainter;
    void paint(QPainter &painter) override { painter.fillRect(0, 0, 4, 4, Qt::green); }
};

} // namespace

class TestPictures : public QObject
{
    Q_OBJECT

private slots:
    // Every compiled-in picture loads; the tray pictures really use their alpha (their corners
    // are see-through), and any other name gives a null image.
    void embeddedPicturesLoad()
    {
        for (const QString &name : EmbeddedImages::names()) {
            const QImage image = EmbeddedImages::embeddedImage(name);
            QVERIFY2(!image.isNull(), qPrintable(name));
            if (name.startsWith("PrintClient"))
                QVERIFY2(image.pixelColor(0, 0).alpha() < 64, qPrintable(name));
        }
        for (const char *other : {"", "ondrel", "Ondrel.png"})
            QVERIFY(EmbeddedImages::embeddedImage(other).isNull());
        // Each dialog picture is a picture of its own.
        const QList<QPixmap> pixmaps{
            EmbeddedImages::allocationPixmap(), EmbeddedImages::depositPixmap(),
            EmbeddedImages::passwordPixmap(),   EmbeddedImages::wantToPrintPixmap(),
            EmbeddedImages::userIdPixmap(),     EmbeddedImages::printOkPixmap(),
            EmbeddedImages::logoPixmap(),       EmbeddedImages::disconnectedTrayPixmap()};
        for (qsizetype i = 0; i < pixmaps.size(); ++i) {
            QVERIFY(!pixmaps[i].isNull());
            for (qsizetype j = 0; j < i; ++j)
                QVERIFY(pixmaps[i].toImage() != pixmaps[j].toImage());
        }
        // The button backgrounds and the flags are read from the images folder.
        for (const char *file : {"button1.jpg", "button1_disable.jpg", "button2.jpg", "en_us.png",
                                 "fr_ca.png", "es_us.png"})
            QVERIFY2(!QPixmap(ImageFolder::filePath(file)).isNull(), file);
    }

    // "TaskbarSmallIcons" of the current user's hive, as the installer writes it.
    void trayPictureFollowsTheTaskbarSetting_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("machine");
        QTest::addColumn<RegistryRoot>("previous");
        QTest::addColumn<QString>("name");
        auto row = [](const char *name, const char *value, const char *machine,
                      RegistryRoot previous, const char *picture) {
            QTest::newRow(name) << value << machine << previous << picture;
        };
        const RegistryRoot none = RegistryRoot::None;
        row("absent", "", "", none, "PrintClient");
        row("small icons", "dword:1", "", none, "PrintClient");
        row("large icons", "dword:0", "", RegistryRoot::Users, "PrintClientLarge");
        row("other number", "dword:5", "", none, "PrintClient");
        row("zero as text", "sz:0", "", none, "PrintClientLarge");
        row("not a number", "sz:big", "", RegistryRoot::Users, "PrintClient");
        row("no registry", "dword:0", "elsewhere", none, "PrintClient");
    }
    void trayPictureFollowsTheTaskbarSetting()
    {
        QFETCH(QString, value);
        QFETCH(QString, machine);
        QFETCH(RegistryRoot, previous);
        QTemporaryDir folder;
        qputenv("ONDTPC_REGISTRY_DIR", folder.path().toUtf8());
        UtilsLib::Registry installer;
        // Another hive holding the value must not be read.
        installer.connectRoot(RegistryRoot::LocalMachine);
        QVERIFY(installer.writeValue(ExplorerAdvanced, "TaskbarSmallIcons", "dword:0"));
        installer.connectRoot(RegistryRoot::CurrentUser);
        QVERIFY(value.isEmpty() || installer.writeValue(ExplorerAdvanced, "TaskbarSmallIcons",
                                                        value.section(' ', 0, 0)));
        UtilsLib::Registry registry(machine);
        registry.connectRoot(previous);
        QTEST(EmbeddedImages::registeredTrayPixmapName(registry), "name");
        QCOMPARE(registry.rootKey(), machine.isEmpty() ? previous : RegistryRoot::None);
        qunsetenv("ONDTPC_REGISTRY_DIR");
    }

    void trayPictureIsChosenOnce()
    {
        UtilsLib::Registry elsewhere("elsewhere"); // reads as small icons
        QCOMPARE(EmbeddedImages::registeredTrayPixmap(elsewhere).size(), QSize(16, 16));
        QTemporaryDir folder;
        qputenv("ONDTPC_REGISTRY_DIR", folder.path().toUtf8());
        UtilsLib::Registry registry;
        registry.connectRoot(RegistryRoot::CurrentUser);
        QVERIFY(registry.writeValue(ExplorerAdvanced, "TaskbarSmallIcons", "dword:0"));
        QCOMPARE(EmbeddedImages::registeredTrayPixmap(registry).size(), QSize(16, 16));
        qunsetenv("ONDTPC_REGISTRY_DIR");
    }

    void buttonPaintsItsPicture()
    {
        UtilsLib::ImageButton button;
        button.setFixedSize(100, 40);
        button.setImage(picture(Body, Probe));
        const auto colours = [&button](const QList<QPoint> &points) {
            const QImage shot = button.grab().toImage();
            QList<QColor> found;
            for (const QPoint &point : points)
                found << shot.pixelColor(point);
            return found;
        };
        QCOMPARE(colours({{0, 0}, {1, 1}, {99, 39}}), QList<QColor>({Body, Probe, Body}));
        // Pressed, the picture moves one pixel down and right over the colour of pixel (1, 1).
        button.setDown(true);
        QCOMPARE(colours({{0, 0}, {50, 0}, {0, 20}, {1, 1}, {2, 2}}),
                 QList<QColor>({Probe, Probe, Probe, Body, Probe}));
        // Disabled, the disabled picture is shown when there is one.
        button.setDown(false);
        button.setEnabled(false);
        QCOMPARE(colours({{50, 5}}), QList<QColor>{Body});
        button.setDisabledImage(picture(Faded, Faded));
        QCOMPARE(colours({{50, 5}}), QList<QColor>{Faded});
        button.setEnabled(true);
        QCOMPARE(colours({{50, 5}}), QList<QColor>{Body});

        // The text is black when enabled, grey when disabled.
        QFont font = button.font();
        font.setPixelSize(30);
        font.setBold(true);
        button.setFont(font);
        button.setText("MW");
        for (bool enabled : {true, false}) {
            button.setEnabled(enabled);
            const QImage shot = button.grab().toImage();
            QSet<QRgb> found;
            for (int y = 0; y < shot.height(); ++y)
                for (int x = 0; x < shot.width(); ++x)
                    found.insert(shot.pixel(x, y));
            QCOMPARE(found.contains(QColor(Qt::black).rgb()), enabled);
            QCOMPARE(found.contains(QColor(Qt::gray).rgb()), !enabled);
        }

        // An installed painter paints instead.
        GreenPainter painter(&button);
        button.setPainter(&painter);
        QCOMPARE(button.grab().toImage().pixelColor(0, 0), QColor(Qt::green));
        button.setPainter(nullptr);
    }

    // A missing picture paints an ordinary push button, not a black box.
    void buttonWithoutPictureIsAPlainButton()
    {
        UtilsLib::ImageButton plain;
        QPushButton reference;
        for (QPushButton *button : {static_cast<QPushButton *>(&plain), &reference}) {
            button->setFixedSize(100, 40);
            button->setText("OK");
        }
        QCOMPARE(plain.grab().toImage(), reference.grab().toImage());
    }
};

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
