#pragma once

#include "ui/BcBaseDialog.h"

#include <QHash>

class KeypadDialog;
class QGridLayout;
class QLineEdit;
class QPushButton;

// The on-screen keypad of kiosk workstations: a frameless window of keys, a full keyboard
// (type FullKeyboard) or a numeric pad (any other type), that types into the text field
// holding the focus in its owner dialog. It never takes the focus itself and does nothing
// when the owner's focus is not on a text field.
class KeyPad : public BcBaseDialog
{
    Q_OBJECT

public:
    static constexpr int FullKeyboard = 1;

    KeyPad(KeypadDialog *owner, int keypadType);

    // Shows or hides the ".com", ".net", ".org" and ".gov" keys (full keyboard only); Shift
    // and Space Bar move to make room for them.
    void setWebKeysVisible(bool visible);
    bool webKeysVisible() const { return m_webKeysShown; }
    bool isShifted() const { return m_shift; }
    int keypadType() const { return m_keypadType; }

    void retranslate() override;
    // The owner places the keypad.
    void adjustAndCenter() override {}

public slots:
    void hitA() { hit(QStringLiteral("a")); }
    void hitB() { hit(QStringLiteral("b")); }
    void hitC() { hit(QStringLiteral("c")); }
    void hitD() { hit(QStringLiteral("d")); }
    void hitE() { hit(QStringLiteral("e")); }
    void hitF() { hit(QStringLiteral("f")); }
    void hitG() { hit(QStringLiteral("g")); }
    void hitH() { hit(QStringLiteral("h")); }
    void hitI() { hit(QStringLiteral("i")); }
    void hitJ() { hit(QStringLiteral("j")); }
    void hitK() { hit(QStringLiteral("k")); }
    void hitL() { hit(QStringLiteral("l")); }
    void hitM() { hit(QStringLiteral("m")); }
    void hitN() { hit(QStringLiteral("n")); }
    void hitO() { hit(QStringLiteral("o")); }
    void hitP() { hit(QStringLiteral("p")); }
    void hitQ() { hit(QStringLiteral("q")); }
    void hitR() { hit(QStringLiteral("r")); }
    void hitS() { hit(QStringLiteral("s")); }
    void hitT() { hit(QStringLiteral("t")); }
    void hitU() { hit(QStringLiteral("u")); }
    void hitV() { hit(QStringLiteral("v")); }
    void hitW() { hit(QStringLiteral("w")); }
    void hitX() { hit(QStringLiteral("x")); }
    void hitY() { hit(QStringLiteral("y")); }
    void hitZ() { hit(QStringLiteral("z")); }
    void hit1() { hit(QStringLiteral("1")); }
    void hit2() { hit(QStringLiteral("2")); }
    void hit3() { hit(QStringLiteral("3")); }
    void hit4() { hit(QStringLiteral("4")); }
    void hit5() { hit(QStringLiteral("5")); }
    void hit6() { hit(QStringLiteral("6")); }
    void hit7() { hit(QStringLiteral("7")); }
    void hit8() { hit(QStringLiteral("8")); }
    void hit9() { hit(QStringLiteral("9")); }
    void hit0() { hit(QStringLiteral("0")); }
    void hitBack();
    void hitClear();
    void hitNextField();
    void hitShift();
    void hitSpace() { insertText(QStringLiteral(" ")); }
    void hitBSlash() { hit(QStringLiteral("bslash")); }
    void hitFSlash() { hit(QStringLiteral("fslash")); }
    void hitLBracket() { hit(QStringLiteral("lbracket")); }
    void hitRBracket() { hit(QStringLiteral("rbracket")); }
    void hitColons() { hit(QStringLiteral("colons")); }
    void hitQuotes() { hit(QStringLiteral("quotes")); }
    void hitComma() { hit(QStringLiteral("comma")); }
    void hitPeriod() { hit(QStringLiteral("period")); }
    void hitMinus() { hit(QStringLiteral("minus")); }
    void hitEqual() { hit(QStringLiteral("equal")); }
    void hitTilde() { hit(QStringLiteral("tilde")); }
    void hitAtSign() { hit(QStringLiteral("atsign")); }
    void hitDotCom() { hit(QStringLiteral("dotcom")); }
    void hitDotNet() { hit(QStringLiteral("dotnet")); }
    void hitDotOrg() { hit(QStringLiteral("dotorg")); }
    void hitDotGov() { hit(QStringLiteral("dotgov")); }

private:
    struct Key
    {
        QString plain;
        QString shifted;
        QPushButton *button = nullptr;
    };

    void buildFullKeyboard();
    void buildNumericPad();
    QPushButton *addKey(const QString &name, const QString &plain, const QString &shifted,
                        void (KeyPad::*slot)(), int row, int column, int columnSpan = 1);
    QPushButton *addCommandKey(const QString &name, void (KeyPad::*slot)(), int row, int column);
    void placeShiftAndSpace();
    void relabel();
    void hit(const QString &name);
    void insertText(const QString &text);
    QLineEdit *focusedField() const;
    QLineEdit *targetField() const;

    KeypadDialog *m_owner;
    QGridLayout *m_grid = nullptr;
    bool m_webKeysShown = false;
    bool m_shift = false;
    int m_keypadType;
    QHash<QString, Key> m_keys;
    QPushButton *m_nextFieldKey = nullptr;
    QPushButton *m_clearKey = nullptr;
    QPushButton *m_backspaceKey = nullptr;
    QPushButton *m_shiftKey = nullptr;
    QPushButton *m_spaceKey = nullptr;
};
