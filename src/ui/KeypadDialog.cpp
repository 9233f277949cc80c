#include "ui/KeypadDialog.h"

#include "ui/KeyPad.h"

#include <QCloseEvent>
#include <QScreen>

KeypadDialog::KeypadDialog(int keypadType, QWidget *parent, const DialogOptions &options)
    : BcBaseDialog(parent, options)
{
    if (keypadType != 0)
        m_keypad = new KeyPad(this, keypadType);
}

void KeypadDialog::setWebKeysVisible(bool visible)
{
    if (m_keypad)
        m_keypad->setWebKeysVisible(visible);
}

void KeypadDialog::adjustAndCenter()
{
    if (!m_keypad) {
        BcBaseDialog::adjustAndCenter();
        return;
    }
    const QRect desktop = screen()->availableGeometry();
    m_keypad->adjustSize();
    const int keypadTop = desktop.height() - m_keypad->frameGeometry().height();
    m_keypad->move(desktop.x() + (desktop.width() - m_keypad->width()) / 2,
                   desktop.y() + keypadTop);

    adjustSize();
    const int height = frameGeometry().height();
    const int free = desktop.height() - height;
    const int above = keypadTop - height;
    const int y = height + free / 2 > keypadTop ? above / 2 : free / 2;
    move(desktop.x() + (desktop.width() - width()) / 2, desktop.y() + y);
}

void KeypadDialog::showEvent(QShowEvent *event)
{
    BcBaseDialog::showEvent(event);
    if (m_keypad) {
        m_keypad->show();
        // Only a shown window knows its frame; place both again with the real heights.
        adjustAndCenter();
    }
}

void KeypadDialog::hideEvent(QHideEvent *event)
{
    if (m_keypad)
        m_keypad->hide();
    BcBaseDialog::hideEvent(event);
}

void KeypadDialog::closeEvent(QCloseEvent *event)
{
    if (m_keypad)
        m_keypad->close();
    BcBaseDialog::closeEvent(event);
}
