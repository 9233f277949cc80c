#include "ModalDialogDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QtTest>

namespace {
constexpr int PollMs = 10;
}

ModalDialogDriver::ModalDialogDriver(Action action, int delayMs, int closeAfterMs)
    : m_action(std::move(action))
    , m_delayMs(delayMs)
    , m_closeAfterMs(closeAfterMs)
    , m_ignored(QApplication::activeModalWidget())
{
    QTimer::singleShot(PollMs, this, &ModalDialogDriver::poll);
}

void ModalDialogDriver::poll()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (modal && modal != m_ignored && modal->isVisible()) {
        m_dialog = modal;
        QTimer::singleShot(m_delayMs, this, &ModalDialogDriver::act);
        return;
    }
    if (++m_polls * PollMs >= WaitForDialogMs) {
        m_timedOut = true;
        return;
    }
    QTimer::singleShot(PollMs, this, &ModalDialogDriver::poll);
}

void ModalDialogDriver::act()
{
    if (!m_dialog)
        return;
    m_ran = true;
    if (m_action)
        m_action(m_dialog);
    QTimer::singleShot(m_closeAfterMs, this, &ModalDialogDriver::guard);
}

void ModalDialogDriver::guard()
{
    auto *dialog = qobject_cast<QDialog *>(m_dialog.data());
    if (dialog && dialog->isVisible()) {
        m_forcedClose = true;
        dialog->reject();
    }
}

QWidget *ModalDialogDriver::find(QWidget *dialog, const QString &objectName)
{
    return dialog ? dialog->findChild<QWidget *>(objectName) : nullptr;
}

bool ModalDialogDriver::click(QWidget *dialog, const QString &objectName)
{
    auto *button = qobject_cast<QAbstractButton *>(find(dialog, objectName));
    if (!button || !button->isVisible())
        return false;
    QTest::mouseClick(button, Qt::LeftButton);
    return true;
}

bool ModalDialogDriver::keyClicks(QWidget *dialog, const QString &objectName, const QString &text)
{
    QWidget *target = find(dialog, objectName);
    if (!target)
        return false;
    QTest::keyClicks(target, text);
    return true;
}
