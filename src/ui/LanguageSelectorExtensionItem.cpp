#include "ui/LanguageSelectorExtensionItem.h"

#include <QListWidget>

LanguageSelectorExtensionItem::LanguageSelectorExtensionItem(QListWidget *list, const QPixmap &flag,
                                                             const QString &languageCode,
                                                             const QString &languageName)
    : QListWidgetItem(list)
    , m_languageCode(languageCode)
    , m_languageName(languageName)
    , m_flag(flag)
{
    QPixmap shown = flag;
    if (shown.isNull()) {
        shown = QPixmap(list ? list->iconSize() : QSize(45, 30));
        shown.fill(Qt::transparent);
    }
    setIcon(QIcon(shown));
    setText(languageName);
    setData(Qt::AccessibleTextRole, languageName);
}
