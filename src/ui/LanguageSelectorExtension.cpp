#include "ui/LanguageSelectorExtension.h"

#include "ui/DialogSettings.h"
#include "ui/ImageFolder.h"
#include "ui/LanguageSelectorExtensionItem.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QStyle>

#include <algorithm>

namespace {

QPixmap loadFlag(const QString &code)
{
    // The language map holds the codes in upper case while the flag files are named in lower
    // case; the code as given is tried first.
    const QStringList names{code, code.toLower()};
    for (const QString &name : names) {
        for (const char *extension : {".jpg", ".png"}) {
            const QPixmap flag(ImageFolder::filePath(name + QLatin1String(extension)));
            if (!flag.isNull())
                return flag;
        }
    }
    return QPixmap();
}

} // namespace

LanguageSelectorExtension::LanguageSelectorExtension(QWidget *parent)
    : QListWidget(parent)
{
    setObjectName(QStringLiteral("LanguageSelector"));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setIconSize(QSize(FlagWidth, FlagHeight));
    connect(this, &QListWidget::itemClicked, this, &LanguageSelectorExtension::handleItemClicked);
}

void LanguageSelectorExtension::setLanguages(const LanguageMap &languages)
{
    const QFontMetrics metrics(DialogSettings::shared().font());
    const int itemHeight = std::max(FlagHeight, metrics.height()) + 10;
    int widest = 0;
    for (auto it = languages.constBegin(); it != languages.constEnd(); ++it) {
        QPixmap flag = loadFlag(it.key());
        if (!flag.isNull())
            flag =
                flag.scaled(FlagWidth, FlagHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        auto *item = new LanguageSelectorExtensionItem(this, flag, it.key(), it.value());
        const int width = metrics.horizontalAdvance(it.value()) + 75;
        item->setSizeHint(QSize(width, itemHeight));
        widest = std::max(widest, width);
    }
    setMinimumWidth(std::max(widest, 150));
    // No wider than the names need, but with room for a scroll bar when the list is long.
    setMaximumWidth(minimumWidth() +
                    style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this));
}

void LanguageSelectorExtension::handleItemClicked(QListWidgetItem *item)
{
    const auto *language = dynamic_cast<LanguageSelectorExtensionItem *>(item);
    if (language)
        emit languageSelected(language->languageCode(), language->languageName());
}

void LanguageSelectorExtension::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        // Accepted here so that Return never reaches the dialog's default button as well.
        handleItemClicked(currentItem());
        event->accept();
        return;
    case Qt::Key_Escape:
        emit closeRequested();
        event->accept();
        return;
    default:
        QListWidget::keyPressEvent(event);
    }
}
