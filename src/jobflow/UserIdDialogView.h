#pragma once

#include "ui/BcBaseDialog.h"

class QLabel;
class QLineEdit;
class QPushButton;
class UserIdDialogController;

// The "User Identification" dialog: the user ID (always in capitals), the PIN when the request
// needs one, a note for guests when they may print, OK and Cancel. OK is enabled only while
// every field it needs holds more than blanks; Return in either field is OK. Neither field takes
// a "|" or a control character, whether typed or pasted.
class UserIdDialogView : public BcBaseDialog
{
    Q_OBJECT

public:
    // Attaches itself to the controller (not owned), which installs the key filters.
    UserIdDialogView(QWidget *parent, UserIdDialogController *controller);

    void retranslate() override;
    virtual void setUserIdFilter(bool enabled, const QString &exceptions);
    virtual void setPinFilter(bool enabled, const QString &exceptions);
    // Runs the dialog modally: 1 accepted, 0 rejected.
    virtual int execDialog();

    QString userId() const;
    // Empty without a PIN field.
    QString pin() const;
    void setUserId(const QString &userId);
    void setPin(const QString &pin);

public slots:
    void okBtn();
    void changeOkBtnImage();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *makeField(const char *objectName, int maxLength);
    bool readyToAccept() const;

    UserIdDialogController *m_controller;
    QLabel *m_instructionLabel = nullptr;
    QLabel *m_pictureLabel = nullptr;
    QLabel *m_userIdLabel = nullptr;
    QLineEdit *m_userIdEntry = nullptr;
    QLabel *m_pinLabel = nullptr;
    QLineEdit *m_pinEntry = nullptr;
    QLabel *m_guestLabel = nullptr;
    QPushButton *m_okButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
};
