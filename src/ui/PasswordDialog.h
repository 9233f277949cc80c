#pragma once

#include "ui/KeypadDialog.h"
#include "ui/PasswordDialogInterface.h"
#include "ui/PasswordDlgInfo.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace UtilsLib {
class ImageButton;
}

// The password dialog: logo, optional heading, optional staff ID, the password, an optional
// reason for an override, OK and Cancel, and on kiosks a keypad below. OK is enabled only
// while every field shown is filled in. It never judges the password itself.
class PasswordDialog
    : public KeypadDialog
    , public PasswordDialogInterface
{
    Q_OBJECT

public:
    // Longest reason kept; a longer text (also a pasted one) is cut to this.
    static constexpr int MaxReasonLength = 253;

    PasswordDialog(const PasswordDlgInfo &info, QWidget *parent = nullptr);

    QString password() const override;
    bool run() override;
    // Empty when the field is not shown.
    virtual QString staffId() const;
    virtual QString reason() const;
    virtual void setLogo(const QPixmap &picture);

    void retranslate() override;

public slots:
    void okBtn();
    void changeOkBtnImage();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool fieldsComplete() const;

    PasswordDlgInfo m_info;
    QLabel *m_headingLabel = nullptr;
    QLabel *m_logoLabel = nullptr;
    QLabel *m_staffIdLabel = nullptr;
    QLineEdit *m_staffIdEntry = nullptr;
    QLabel *m_passwordLabel = nullptr;
    QLineEdit *m_passwordEntry = nullptr;
    QLabel *m_reasonLabel = nullptr;
    QPlainTextEdit *m_reasonEntry = nullptr;
    UtilsLib::ImageButton *m_okButton = nullptr;
    UtilsLib::ImageButton *m_cancelButton = nullptr;
};
