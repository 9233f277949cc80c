#pragma once

#include "ui/LanguageList.h"

#include <QListWidget>

// The list of languages, each with its flag, that opens beside a dialog. Choosing one (click,
// or Return/Space on the current one) emits languageSelected; Escape asks to close the list.
class LanguageSelectorExtension : public QListWidget
{
    Q_OBJECT

public:
    static constexpr int FlagWidth = 45;
    static constexpr int FlagHeight = 30;

    explicit LanguageSelectorExtension(QWidget *parent = nullptr);

    // One item per entry, in code order, with the flag "<app dir>/images/<code>.jpg" or .png.
    void setLanguages(const LanguageMap &languages);

public slots:
    void handleItemClicked(QListWidgetItem *item);

signals:
    void languageSelected(const QString &languageCode, const QString &languageName);
    void closeRequested();

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
