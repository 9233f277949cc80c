// picture-maker: draws every picture the client ships, into the source tree.
//
//   picture-maker ROOT [--sheet FILE]
//
// writes ROOT/src/ui/pictures/*.png (compiled into the program), ROOT/images/* (the button
// backgrounds and flags read from disk at run time) and, with --sheet, one review sheet showing
// each picture at 1x and 4x.
// The output depends only on this code and the DejaVu fonts, so running it again gives the
// same files.

#include "BrandPictures.h"
#include "ButtonPictures.h"
#include "DialogPictures.h"
#include "FlagPictures.h"
#include "Glyphs.h"
#include "Palette.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QTextStream>

#include <exception>
#include <vector>

namespace {

struct Picture
{
    QString path; // relative to the root
    QImage image;
    bool transparent = false;
};

std::vector<Picture> allPictures()
{
    using ButtonPictures::Kind;
    const QString compiled = QStringLiteral("src/ui/pictures/%1.png");
    const QString disk = QStringLiteral("images/%1");
    std::vector<Picture> pictures;
    auto embedded = [&](const QString &name, const QImage &image) {
        pictures.push_back({compiled.arg(name), image});
    };

    embedded(QStringLiteral("UserID"), DialogPictures::userId());
    embedded(QStringLiteral("WantToPrint"), DialogPictures::wantToPrint());
    embedded(QStringLiteral("PrintOK"), DialogPictures::printOk());
    embedded(QStringLiteral("password"), DialogPictures::password());
    embedded(QStringLiteral("allocation"), DialogPictures::allocation());
    embedded(QStringLiteral("deposit"), DialogPictures::deposit(Palette::positiveTones()));
    embedded(QStringLiteral("deposit_disable"), DialogPictures::deposit(Palette::disabledTones()));
    embedded(QStringLiteral("credit"), DialogPictures::credit(Palette::brandTones()));
    embedded(QStringLiteral("credit_disable"), DialogPictures::credit(Palette::disabledTones()));
    embedded(QStringLiteral("Ondrel"), BrandPictures::logo());
    embedded(QStringLiteral("largeButton1"), ButtonPictures::background(Kind::Confirm, {200, 46}));

    const QSize small(73, 25);
    pictures.push_back({compiled.arg(QStringLiteral("button1")),
                        ButtonPictures::background(Kind::Confirm, small)});
    pictures.push_back({compiled.arg(QStringLiteral("button1_disable")),
                        ButtonPictures::background(Kind::ConfirmDisabled, small)});
    pictures.push_back(
        {compiled.arg(QStringLiteral("button2")), ButtonPictures::background(Kind::Cancel, small)});
    // Twice the embedded size: buttons are stretched to 80 px and more.
    const QSize sharp(146, 50);
    pictures.push_back({disk.arg(QStringLiteral("button1.jpg")),
                        ButtonPictures::background(Kind::Confirm, sharp)});
    pictures.push_back({disk.arg(QStringLiteral("button1_disable.jpg")),
                        ButtonPictures::background(Kind::ConfirmDisabled, sharp)});
    pictures.push_back(
        {disk.arg(QStringLiteral("button2.jpg")), ButtonPictures::background(Kind::Cancel, sharp)});

    pictures.push_back(
        {compiled.arg(QStringLiteral("PrintClient")), BrandPictures::smallTrayIcon(true), true});
    pictures.push_back(
        {compiled.arg(QStringLiteral("PrintClientBW")), BrandPictures::smallTrayIcon(false), true});
    pictures.push_back(
        {compiled.arg(QStringLiteral("PrintClientLarge")), BrandPictures::largeTrayIcon(), true});

    const QStringList dialects = FlagPictures::dialects();
    for (const QString &dialect : dialects) {
        pictures.push_back(
            {disk.arg(dialect + QStringLiteral(".png")), FlagPictures::flag(dialect)});
    }
    return pictures;
}

bool write(const QDir &root, const Picture &picture, QTextStream &err)
{
    const QString path = root.filePath(picture.path);
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        err << "cannot create the folder of " << path << '\n';
        return false;
    }
    // Opaque pictures are stored without an alpha channel, so that they load as opaque.
    const QImage stored = picture.image.convertToFormat(picture.transparent ? QImage::Format_ARGB32
                                                                            : QImage::Format_RGB32);
    const bool jpeg = path.endsWith(QLatin1String(".jpg"));
    if (!stored.save(path, jpeg ? "JPG" : "PNG", jpeg ? 95 : -1)) {
        err << "cannot write " << path << '\n';
        return false;
    }
    return true;
}

// One row per picture: its name, the picture at its real size, and enlarged 4 times
// without smoothing, on a checkerboard that shows the transparent parts.
QImage contactSheet(const std::vector<Picture> &pictures)
{
    constexpr int zoom = 4;
    constexpr int margin = 10;
    constexpr int labelWidth = 230;
    int sheetWidth = 0;
    int sheetHeight = margin;
    for (const Picture &picture : pictures) {
        sheetWidth = qMax(sheetWidth, labelWidth + picture.image.width() * (1 + zoom) + 4 * margin);
        sheetHeight += picture.image.height() * zoom + margin;
    }
    QImage sheet(sheetWidth, sheetHeight, QImage::Format_RGB32);
    sheet.fill(QColor(0xd8, 0xdb, 0xdf));
    QPainter painter(&sheet);
    painter.setFont(Glyphs::font(false, 12));
    int y = margin;
    for (const Picture &picture : pictures) {
        const QImage &image = picture.image;
        painter.setPen(Qt::black);
        painter.drawText(QRect(margin, y, labelWidth, 20), Qt::AlignLeft | Qt::AlignTop,
                         picture.path);
        const QRect real(labelWidth + margin, y, image.width(), image.height());
        const QRect big(real.right() + 1 + margin, y, image.width() * zoom, image.height() * zoom);
        for (const QRect &area : {real, big}) {
            for (int cy = area.top(); cy <= area.bottom(); cy += 8) {
                for (int cx = area.left(); cx <= area.right(); cx += 8) {
                    const bool dark = ((cx - area.left()) / 8 + (cy - area.top()) / 8) % 2 != 0;
                    painter.fillRect(QRect(cx, cy, 8, 8).intersected(area),
                                     dark ? QColor(0x55, 0x5b, 0x62) : QColor(0x9a, 0xa0, 0xa6));
                }
            }
        }
        painter.drawImage(real, image);
        painter.drawImage(big, image);
        y += image.height() * zoom + margin;
    }
    return sheet;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    QStringList arguments = app.arguments();
    arguments.removeFirst();
    QString sheetPath;
    const qsizetype sheetOption = arguments.indexOf(QStringLiteral("--sheet"));
    if (sheetOption >= 0 && sheetOption + 1 < arguments.size()) {
        sheetPath = arguments.at(sheetOption + 1);
        arguments.remove(sheetOption, 2);
    }
    if (arguments.size() != 1) {
        err << "usage: picture-maker ROOT [--sheet FILE]\n";
        return 2;
    }
    try {
        const QDir root(arguments.first());
        const std::vector<Picture> pictures = allPictures();
        for (const Picture &picture : pictures) {
            if (!write(root, picture, err)) {
                return 1;
            }
        }
        if (!sheetPath.isEmpty() && !contactSheet(pictures).save(sheetPath, "PNG")) {
            err << "cannot write " << sheetPath << '\n';
            return 1;
        }
        QTextStream(stdout) << pictures.size() << " pictures written under " << root.absolutePath()
                            << '\n';
    } catch (const std::exception &error) {
        err << "picture-maker: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
