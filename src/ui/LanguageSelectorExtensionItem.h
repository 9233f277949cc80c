#pragma once

#include <QListWidgetItem>
#include <QPixmap>
#include <QString>

// One language in the language list: its flag and its name; remembers the language code.
class LanguageSelectorExtensionItem : public QListWidgetItem
{
public:
    // A null flag leaves a blank space of the flag's size, so the names stay aligned.
    LanguageSelectorExtensionItem(QListWidget *list, const QPixmap &flag,
                                  const QString &languageCode, const QString &languageName);

    QString languageCode() const { return m_languageCode; }
    QString languageName() const { return m_languageName; }
    QPixmap flag() const { return m_flag; }

private:
    QString m_languageCode;
    QString m_languageName;
    QPixmap m_flag;
};
