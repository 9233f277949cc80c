#include "FakeRegistry.h"
#include "ui/EmbeddedImages.h"
#include "ui/ImageFolder.h"

#include <QDir>
#include <QtTest>

using UtilsLib::RegistryRoot;

namespace {
const QString ExplorerAdvanced =
    QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced");
}

class TestEmbeddedImages : public QObject
{
    Q_OBJECT

private slots:
    void everyPictureIsCompiledIn_data();
    void everyPictureIsCompiledIn();
    void unknownNamesGiveNullImages_data();
    void unknownNamesGiveNullImages();
    void pixmapAccessors();
    void trayPictureFollowsTheTaskbarSetting_data();
    void trayPictureFollowsTheTaskbarSetting();
    void trayPictureIsChosenOnce();
    void dialogPicturesComeFromTheImagesFolder();
};

void TestEmbeddedImages::everyPictureIsCompiledIn_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("alpha");
    const QList<std::tuple<const char *, int, int, bool>> rows{
        {"allocation", 50, 50, false},      {"button1", 73, 25, false},
        {"button1_disable", 73, 25, false}, {"button2", 73, 25, false},
        {"credit", 50, 50, false},          {"credit_disable", 50, 50, false},
        {"deposit", 50, 50, false},         {"deposit_disable", 50, 50, false},
        {"largeButton1", 200, 46, false},   {"Ondrel", 300, 175, false},
        {"password", 50, 50, false},        {"PrintClient", 16, 16, true},
        {"PrintClientLarge", 48, 48, true}, {"PrintClientBW", 16, 16, true},
        {"PrintOK", 50, 50, false},         {"UserID", 50, 50, false},
        {"WantToPrint", 50, 50, false}};
    for (const auto &[name, width, height, alpha] : rows)
        QTest::newRow(name) << QString::fromLatin1(name) << QSize(width, height) << alpha;
}

void TestEmbeddedImages::everyPictureIsCompiledIn()
{
    QFETCH(QString, name);
    QFETCH(bool, alpha);
    QVERIFY(EmbeddedImages::names().contains(name));
    const QImage image = EmbeddedImages::embeddedImage(name);
    QVERIFY(!image.isNull());
    QTEST(image.size(), "size");
    QCOMPARE(image.depth(), 32);
    QCOMPARE(image.format(), alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    QCOMPARE(image.hasAlphaChannel(), alpha);
    if (alpha) {
        // The tray pictures really use their alpha: the corners are (nearly) see-through.
        QVERIFY(image.pixelColor(0, 0).alpha() < 64);
    }
    QCOMPARE(EmbeddedImages::embeddedImage(name), image);
}

void TestEmbeddedImages::unknownNamesGiveNullImages_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("empty") << QString();
    QTest::newRow("other case") << QStringLiteral("ondrel");
    QTest::newRow("with extension") << QStringLiteral("Ondrel.png");
    QTest::newRow("unknown") << QStringLiteral("Nothing");
}

void TestEmbeddedImages::unknownNamesGiveNullImages()
{
    QFETCH(QString, name);
    QVERIFY(EmbeddedImages::embeddedImage(name).isNull());
    QVERIFY(EmbeddedImages::embeddedImage(name).isNull());
}

void TestEmbeddedImages::pixmapAccessors()
{
    const QList<QPair<QPixmap, QString>> accessors{
        {EmbeddedImages::allocationPixmap(), QStringLiteral("allocation")},
        {EmbeddedImages::depositPixmap(), QStringLiteral("deposit")},
        {EmbeddedImages::passwordPixmap(), QStringLiteral("password")},
        {EmbeddedImages::wantToPrintPixmap(), QStringLiteral("WantToPrint")},
        {EmbeddedImages::userIdPixmap(), QStringLiteral("UserID")},
        {EmbeddedImages::printOkPixmap(), QStringLiteral("PrintOK")},
        {EmbeddedImages::logoPixmap(), QStringLiteral("Ondrel")},
        {EmbeddedImages::disconnectedTrayPixmap(), QStringLiteral("PrintClientBW")}};
    for (const auto &[pixmap, name] : accessors) {
        const QImage expected = EmbeddedImages::embeddedImage(name);
        QCOMPARE(pixmap.size(), expected.size());
        QCOMPARE(pixmap.toImage().convertToFormat(expected.format()), expected);
    }
    QCOMPARE(EmbeddedImages::logoPixmap().cacheKey(), EmbeddedImages::logoPixmap().cacheKey());
}

void TestEmbeddedImages::trayPictureFollowsTheTaskbarSetting_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("refuse");
    QTest::addColumn<int>("previousRoot");
    QTest::addColumn<QString>("name");
    const int none = static_cast<int>(RegistryRoot::None);
    const int machine = static_cast<int>(RegistryRoot::LocalMachine);
    QTest::newRow("absent") << QVariant() << false << none << QStringLiteral("PrintClient");
    QTest::newRow("small icons") << QVariant(1u) << false << none << QStringLiteral("PrintClient");
    QTest::newRow("large icons") << QVariant(0u) << false << machine
                                 << QStringLiteral("PrintClientLarge");
    QTest::newRow("other number") << QVariant(5u) << false << none << QStringLiteral("PrintClient");
    QTest::newRow("zero as text") << QVariant(QStringLiteral("0")) << false << none
                                  << QStringLiteral("PrintClientLarge");
    QTest::newRow("unreadable text")
        << QVariant(QStringLiteral("big")) << false << machine << QStringLiteral("PrintClient");
    QTest::newRow("no registry") << QVariant(0u) << true << none << QStringLiteral("PrintClient");
}

void TestEmbeddedImages::trayPictureFollowsTheTaskbarSetting()
{
    QFETCH(QVariant, value);
    QFETCH(bool, refuse);
    QFETCH(int, previousRoot);
    FakeRegistry registry;
    const auto previous = static_cast<RegistryRoot>(previousRoot);
    if (previous != RegistryRoot::None)
        registry.connectRoot(previous);
    if (value.isValid())
        registry.setValue(RegistryRoot::CurrentUser, ExplorerAdvanced,
                          QStringLiteral("TaskbarSmallIcons"), value);
    // Another hive holding the value must not be read.
    registry.setValue(RegistryRoot::LocalMachine, ExplorerAdvanced,
                      QStringLiteral("TaskbarSmallIcons"), QVariant(7u));
    registry.refuseConnections(refuse);
    QTEST(EmbeddedImages::registeredTrayPixmapName(registry), "name");
    QCOMPARE(registry.rootKey(), refuse ? RegistryRoot::None : previous);
}

void TestEmbeddedImages::trayPictureIsChosenOnce()
{
    FakeRegistry large;
    large.setValue(RegistryRoot::CurrentUser, ExplorerAdvanced, QStringLiteral("TaskbarSmallIcons"),
                   QVariant(0u));
    QCOMPARE(EmbeddedImages::registeredTrayPixmap(large).size(), QSize(48, 48));
    FakeRegistry small;
    small.setValue(RegistryRoot::CurrentUser, ExplorerAdvanced, QStringLiteral("TaskbarSmallIcons"),
                   QVariant(1u));
    QCOMPARE(EmbeddedImages::registeredTrayPixmap(small).size(), QSize(48, 48));
    QVERIFY(small.calls().isEmpty());
}

void TestEmbeddedImages::dialogPicturesComeFromTheImagesFolder()
{
    for (const char *file : {"button1.jpg", "button1_disable.jpg", "button2.jpg", "en_us.png",
                             "fr_ca.png", "es_us.png"})
        QVERIFY2(!QPixmap(ImageFolder::filePath(QLatin1String(file))).isNull(), file);
    QCOMPARE(ImageFolder::path(),
             QCoreApplication::applicationDirPath() + QStringLiteral("/images"));

    const QPixmap fromDisk = ImageFolder::dialogPicture(QStringLiteral("UserID"));
    QCOMPARE(fromDisk.toImage().convertToFormat(QImage::Format_RGB32),
             QImage(ImageFolder::filePath(QStringLiteral("UserID.png")))
                 .convertToFormat(QImage::Format_RGB32));
    // No file of that name: the compiled-in picture stands in.
    QCOMPARE(ImageFolder::dialogPicture(QStringLiteral("PrintClientBW")).size(), QSize(16, 16));
    QVERIFY(ImageFolder::dialogPicture(QStringLiteral("NoSuchPicture")).isNull());
}

QTEST_MAIN(TestEmbeddedImages)
#include "tst_embeddedimages.moc"
