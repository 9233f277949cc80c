#include "ui/PrintClientDialog.h"

PrintClientDialog::PrintClientDialog(QWidget *parent)
    : MessageDialog(QString(), QStringList(), QStringList(), QMessageBox::Critical, parent, 0,
                    PlainButtons + 1, QStringLiteral(QT_TRANSLATE_NOOP("MessageDialog", "OK")))
{}

void PrintClientDialog::critical(const QString &title, const QString &text)
{
    showWithIcon(title, text, QMessageBox::Critical);
}

void PrintClientDialog::warning(const QString &title, const QString &text)
{
    showWithIcon(title, text, QMessageBox::Warning);
}

void PrintClientDialog::information(const QString &title, const QString &text)
{
    showWithIcon(title, text, QMessageBox::Information);
}

void PrintClientDialog::showWithIcon(const QString &title, const QString &text,
                                     QMessageBox::Icon icon)
{
    setIconPixmap(standardIcon(icon), iconName(icon));
    show(title, text, standardIcon(icon));
}

void PrintClientDialog::show(const QString &title, const QString &text, const QPixmap &icon)
{
    setCaptionKey(title);
    setIconPixmap(icon, QString());
    setParagraph1(QStringList{text});
    bringToFront();
    exec();
}

bool PrintClientDialog::question(const QString &title, const QString &text)
{
    MessageDialog dialog(title, QStringList{text}, QStringList(), QMessageBox::Question,
                         parentWidget(), 0, PlainButtons + 2,
                         QStringLiteral(QT_TRANSLATE_NOOP("MessageDialog", "Yes")), QString(),
                         QStringLiteral(QT_TRANSLATE_NOOP("MessageDialog", "No")));
    dialog.bringToFront();
    return dialog.exec() == 1;
}
