#pragma once

#include <QObject>
#include <QString>

class UserSession;

// What the "Account Information" dialog shows of the user's accounts: the deposit and credit
// rows (a picture and a label that tell when the account has expired), the allocation and the
// library deposit. Each answer reads the session when asked, so a dialog that asks again shows
// what the Print Service last reported. The balances are as the Print Service sends them.
class AccountInfoDialogController : public QObject
{
    Q_OBJECT

public:
    // The session is not owned and must outlive the controller.
    explicit AccountInfoDialogController(UserSession *session, QObject *parent = nullptr);

    // Names of embedded pictures.
    QString depositIcon() const;
    QString depositLabel() const;
    // Empty while the deposit account has expired.
    QString depositBalance() const;
    QString maxDepositBalance() const;

    QString creditIcon() const;
    QString creditLabel() const;
    // "(balance)", as a credit is owed; empty while the credit account has expired.
    QString creditBalance() const;
    QString maxCreditBalance() const;

    QString allocationBalance() const;
    QString libraryDepositBalance() const;

    bool hasDeposit() const;
    bool hasCredit() const;
    bool hasAllocation() const;
    bool hasLibraryDeposit() const;

private:
    UserSession *m_session;
};
