#include "ModalDialogDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QtTest>

ModalDialogDriver::ModalDialogDriver(Action action, int delayMs, int closeAfterMs)
    : m_action(std::move(action))
    , m_delayMs(delayMs)
    , m_closeAfterMs(closeAfterMs)
    , m_ignored(QApplication::activeModalWidget())
{
    poll(500); // every 10 ms for 5 s
}

void ModalDialogDriver::poll(int pollsLeft)
{
    QWidget *modal = QApplication::activeModalWidget();
    if (modal && modal != m_ignored && modal->isVisible()) {
        m_dialog = modal;
        // Acting at once, not from a timer of its own, keeps a short time-out of the dialog,
        // due in the same pass of the event loop, from closing it first.
        if (m_delayMs == 0)
            act();
        else
            QTimer::singleShot(m_delayMs, this, &ModalDialogDriver::act);
    } else if (pollsLeft > 0) {
        QTimer::singleShot(10, this, [this, pollsLeft] { poll(pollsLeft - 1); });
    }
}

void ModalDialogDriver::act()
{
    if (!m_dialog)
        return;
    m_ran = true;
    if (m_action)
        m_action(m_dialog);
    QTimer::singleShot(m_closeAfterMs, this, [this] {
        auto *dialog = qobject_cast<QDialog *>(m_dialog.data());
        if (dialog && dialog->isVisible()) {
            m_forcedClose = true;
            dialog->reject();
        }
    });
}

void ModalDialogDriver::click(QWidget *dialog, const char *objectName)
{
    auto *button = dialog->findChild<QAbstractButton *>(objectName);
    if (button && button->isVisible())
        QTest::mouseClick(button, Qt::LeftButton);
}
