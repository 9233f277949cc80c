#pragma once

#include "ui/BcBaseDialog.h"

class KeyPad;

// Base of the input dialogs that may bring an on-screen keypad: creates it, shows, hides and
// closes it together with the dialog, and places itself above it.
class KeypadDialog : public BcBaseDialog
{
    Q_OBJECT

public:
    // keypadType 0 means no keypad; KeyPad::FullKeyboard a full keyboard; others a numeric pad.
    KeypadDialog(int keypadType, QWidget *parent, const DialogOptions &options = {});

    void setWebKeysVisible(bool visible);
    KeyPad *keypad() const { return m_keypad; }

    // The keypad goes to the bottom centre of the screen, the dialog in the middle of the
    // screen or, when it would reach the keypad, in the middle of the space above it.
    void adjustAndCenter() override;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    KeyPad *m_keypad = nullptr;
};
