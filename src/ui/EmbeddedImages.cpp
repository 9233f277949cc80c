#include "ui/EmbeddedImages.h"

#include "settings/RegistryInterface.h"

#include <QBitmap>
#include <QCoreApplication>
#include <QHash>
#include <QVariant>

#include <array>

namespace EmbeddedImages {

namespace {

struct Row
{
    const char *name;
    int width;
    int height;
    bool alpha;
};

constexpr std::array<Row, 17> Table{{
    {"allocation", 50, 50, false},
    {"button1", 73, 25, false},
    {"button1_disable", 73, 25, false},
    {"button2", 73, 25, false},
    {"credit", 50, 50, false},
    {"credit_disable", 50, 50, false},
    {"deposit", 50, 50, false},
    {"deposit_disable", 50, 50, false},
    {"largeButton1", 200, 46, false},
    {"Ondrel", 300, 175, false},
    {"password", 50, 50, false},
    {"PrintClient", 16, 16, true},
    {"PrintClientLarge", 48, 48, true},
    {"PrintClientBW", 16, 16, true},
    {"PrintOK", 50, 50, false},
    {"UserID", 50, 50, false},
    {"WantToPrint", 50, 50, false},
}};

QHash<QString, QImage> &imageCache()
{
    static QHash<QString, QImage> cache;
    return cache;
}

// Pixmaps must not outlive the application object, so the cache empties when it goes.
QHash<QString, QPixmap> &pixmapCache()
{
    static QHash<QString, QPixmap> cache;
    static bool cleanupRegistered = false;
    if (!cleanupRegistered && QCoreApplication::instance()) {
        qAddPostRoutine([] {
            pixmapCache().clear();
            imageCache().clear();
        });
        cleanupRegistered = true;
    }
    return cache;
}

QPixmap keptPixmap(const QString &name)
{
    QHash<QString, QPixmap> &cache = pixmapCache();
    auto found = cache.constFind(name);
    if (found != cache.constEnd())
        return *found;
    const QPixmap pixmap = QPixmap::fromImage(embeddedImage(name));
    cache.insert(name, pixmap);
    return pixmap;
}

} // namespace

QStringList names()
{
    QStringList result;
    for (const Row &row : Table)
        result.append(QString::fromLatin1(row.name));
    return result;
}

QImage embeddedImage(const QString &name)
{
    QHash<QString, QImage> &cache = imageCache();
    auto found = cache.constFind(name);
    if (found != cache.constEnd())
        return *found;
    for (const Row &row : Table) {
        if (name != QLatin1String(row.name))
            continue;
        QImage image(QStringLiteral(":/pictures/%1.png").arg(name));
        if (image.isNull())
            return image;
        image = image.convertToFormat(row.alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        if (image.size() != QSize(row.width, row.height))
            image = image.scaled(row.width, row.height, Qt::IgnoreAspectRatio,
                                 Qt::SmoothTransformation);
        cache.insert(name, image);
        return image;
    }
    return QImage();
}

QPixmap allocationPixmap()
{
    return keptPixmap(QStringLiteral("allocation"));
}

QPixmap depositPixmap()
{
    return keptPixmap(QStringLiteral("deposit"));
}

QPixmap passwordPixmap()
{
    return keptPixmap(QStringLiteral("password"));
}

QPixmap wantToPrintPixmap()
{
    return keptPixmap(QStringLiteral("WantToPrint"));
}

QPixmap userIdPixmap()
{
    return keptPixmap(QStringLiteral("UserID"));
}

QPixmap printOkPixmap()
{
    return keptPixmap(QStringLiteral("PrintOK"));
}

QPixmap logoPixmap()
{
    return keptPixmap(QStringLiteral("Ondrel"));
}

QPixmap disconnectedTrayPixmap()
{
    return keptPixmap(QStringLiteral("PrintClientBW"));
}

QString registeredTrayPixmapName(UtilsLib::RegistryInterface &registry)
{
    const UtilsLib::RegistryRoot previousRoot = registry.rootKey();
    qint64 smallIcons = 1;
    if (registry.connectRoot(UtilsLib::RegistryRoot::CurrentUser)) {
        const QVariant value = registry.readIntOr(
            QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced"),
            QStringLiteral("TaskbarSmallIcons"), 1, 4);
        bool isNumber = false;
        const qint64 number = value.toLongLong(&isNumber);
        if (isNumber)
            smallIcons = number;
    }
    if (previousRoot == UtilsLib::RegistryRoot::None)
        registry.closeRoot();
    else
        registry.connectRoot(previousRoot);
    return smallIcons != 0 ? QStringLiteral("PrintClient") : QStringLiteral("PrintClientLarge");
}

QPixmap registeredTrayPixmap(UtilsLib::RegistryInterface &registry)
{
    static QString chosen;
    if (chosen.isEmpty())
        chosen = registeredTrayPixmapName(registry);
    return keptPixmap(chosen);
}

QPixmap withHeuristicMask(const QPixmap &picture)
{
    QPixmap masked = picture;
    masked.setMask(picture.createHeuristicMask());
    return masked;
}

} // namespace EmbeddedImages
