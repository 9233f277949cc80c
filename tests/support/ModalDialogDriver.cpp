#include "ModalDialogDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QtTest>

namespace {
constexpr int PollMs = 10;
} // namespace

ModalDialogDriver::ModalDialogDriver(Action action, int delayMs, int closeAfterMs)
    : m_action(std::move(action))
    , m_delayMs(delayMs)
    , m_closeAfterMs(closeAfterMs)
    , m_ignored(QApplication::activeModalWidget())
{
    poll(5000 / PollMs);
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
        QTimer::singleShot(PollMs, this, [this, pollsLeft] { poll(pollsLeft - 1); });
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

QWidget *ModalDialogDriver::find(QWidget *dialog, const QString &objectName)
{
    return dialog ? dialog->findChild<QWidget *>(objectName) : nullptr;
}

bool ModalDialogDriver::click(QWidget *dialog, const QString &objectName)
{
    auto *button = qobject_cast<QAbstractButton *>(find(dialog, objectName));
    if (button && button->isVisible())
        QTest::mouseClick(button, Qt::LeftButton);
    return button && button->isVisible();
}
