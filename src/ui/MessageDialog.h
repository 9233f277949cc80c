#pragma once

#include "ui/BcBaseDialog.h"

#include <QMessageBox>
#include <QStringList>

class QLabel;
class QPushButton;

// The client's generic dialog: a standard icon, up to three paragraphs of translated text
// (keys looked up in "CommonDialogMessages") and up to three buttons, picture buttons unless
// the button count is given plus PlainButtons. Each button closes the dialog with its result.
class MessageDialog : public BcBaseDialog
{
    Q_OBJECT

public:
    // Added to the button count for plain push buttons instead of picture buttons.
    static constexpr int PlainButtons = 1000;

    MessageDialog(const QString &captionKey, const QStringList &paragraph1Keys,
                  const QStringList &paragraph2Keys, QMessageBox::Icon icon,
                  QWidget *parent = nullptr, int timeoutMs = DialogOptions::SharedTimeout,
                  int buttonCount = 1, const QString &button1TextKey = QStringLiteral("OK"),
                  const QString &button1Picture = QString(),
                  const QString &button2TextKey = QString(),
                  const QString &button2Picture = QString(),
                  const QString &button3TextKey = QString(),
                  const QString &button3Picture = QString());

    // These three only store the keys; the texts change at the next retranslate().
    void setCaptionKey(const QString &key);
    void setParagraph1(const QStringList &keys);
    void setParagraph2(const QStringList &keys);
    // Stores the keys and shows the new text at once.
    void setParagraph3(const QStringList &keys);
    void setButtonResults(int result1, int result2, int result3);

    void retranslate() override;
    // Showing the dialog, also again while it is on screen, makes it the active window.
    void setVisible(bool visible) override;

    int buttonCount() const { return m_buttonCount; }
    bool usesImages() const { return m_useImages; }

public slots:
    void buttonClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void setIconPixmap(const QPixmap &pixmap, const QString &accessibleName);
    static QString iconName(QMessageBox::Icon icon);
    // The style's picture for the icon kind at the style's message box icon size.
    QPixmap standardIcon(QMessageBox::Icon icon) const;

private:
    QPushButton *makeButton(int number, const QString &picture);

    bool m_useImages = true;
    int m_buttonCount = 0;
    int m_result1 = 1;
    int m_result2 = 0;
    int m_result3 = 0;
    QString m_captionKey;
    QStringList m_paragraph1;
    QStringList m_paragraph2;
    QStringList m_paragraph3;
    QString m_button1TextKey;
    QString m_button2TextKey;
    QString m_button3TextKey;
    QString m_iconName;
    QLabel *m_textLabel = nullptr;
    QLabel *m_iconLabel = nullptr;
    QPushButton *m_button1 = nullptr;
    QPushButton *m_button2 = nullptr;
    QPushButton *m_button3 = nullptr;
};
