#pragma once

#include "ui/MessageBoxInterface.h"
#include "ui/MessageDialog.h"

// The client's message box: one OK button, the default time-out; questions run in a
// dialog of their own with "Yes" and "No".
class PrintClientDialog
    : public MessageDialog
    , public MessageBoxInterface
{
    Q_OBJECT

public:
    explicit PrintClientDialog(QWidget *parent = nullptr);

    void critical(const QString &title, const QString &text) override;
    void warning(const QString &title, const QString &text) override;
    void information(const QString &title, const QString &text) override;
    void show(const QString &title, const QString &text, const QPixmap &icon) override;
    bool question(const QString &title, const QString &text) override;

    using QWidget::show;

private:
    void showWithIcon(const QString &title, const QString &text, QMessageBox::Icon icon);
};
