#pragma once

#include "ui/BcBaseDialog.h"

class AccountInfoDialogController;
class QGridLayout;
class QLabel;
class QPushButton;

// The "Account Information" dialog: a block for each account the user has (deposit, credit,
// allocation, library deposit), each a picture beside its labels and right-aligned figures,
// and OK. Which blocks exist is settled when it is built; the texts, figures and the expiry
// of the deposit and credit accounts are read from the controller again at every show and
// language change. The figures are shown as plain text, never as markup.
class AccountInfoDialogView : public BcBaseDialog
{
    Q_OBJECT

public:
    // The controller is not owned and must outlive the dialog.
    AccountInfoDialogView(QWidget *parent, AccountInfoDialogController *controller);

    void retranslate() override;

private:
    // A label and its figure on one row of the grid.
    struct Line
    {
        QLabel *label = nullptr;
        QLabel *value = nullptr;
    };

    QLabel *addPicture(int block, const QString &name);
    Line addLine(int row, const char *valueName);
    static void showLine(const Line &line, const QString &label, const QString &value);
    static void showPicture(QLabel *picture, const QString &name);

    AccountInfoDialogController *m_controller;
    QGridLayout *m_grid = nullptr;
    QLabel *m_depositPicture = nullptr;
    QLabel *m_creditPicture = nullptr;
    QLabel *m_allocationPicture = nullptr;
    QLabel *m_libraryDepositPicture = nullptr;
    Line m_deposit;
    Line m_maxDeposit;
    Line m_credit;
    Line m_maxCredit;
    Line m_allocation;
    Line m_libraryDeposit;
    QPushButton *m_okButton = nullptr;
};
