#include "jobflow/AccountInfoDialogController.h"

#include "jobflow/UserSession.h"

namespace {

// A credit balance is money owed, written in parentheses as accounts write it.
QString owed(const QString &balance)
{
    return QStringLiteral("(%1)").arg(balance);
}

} // namespace

AccountInfoDialogController::AccountInfoDialogController(UserSession *session, QObject *parent)
    : QObject(parent)
    , m_session(session)
{}

QString AccountInfoDialogController::depositIcon() const
{
    return m_session->depositExpired() ? QStringLiteral("deposit_disable")
                                       : QStringLiteral("deposit");
}

QString AccountInfoDialogController::depositLabel() const
{
    return m_session->depositExpired() ? tr("Deposit Account Expired")
                                       : tr("Current Deposit Balance:");
}

QString AccountInfoDialogController::depositBalance() const
{
    return m_session->depositExpired() ? QString() : m_session->depositBalance();
}

QString AccountInfoDialogController::maxDepositBalance() const
{
    return m_session->maxDepositBalance();
}

QString AccountInfoDialogController::creditIcon() const
{
    return m_session->creditExpired() ? QStringLiteral("credit_disable") : QStringLiteral("credit");
}

QString AccountInfoDialogController::creditLabel() const
{
    return m_session->creditExpired() ? tr("Credit Account Expired")
                                      : tr("Current Credit Balance:");
}

QString AccountInfoDialogController::creditBalance() const
{
    return m_session->creditExpired() ? QString() : owed(m_session->creditBalance());
}

QString AccountInfoDialogController::maxCreditBalance() const
{
    return owed(m_session->maxCreditBalance());
}

QString AccountInfoDialogController::allocationBalance() const
{
    return m_session->allocationBalance();
}

QString AccountInfoDialogController::libraryDepositBalance() const
{
    return m_session->libraryDepositBalance();
}

bool AccountInfoDialogController::hasDeposit() const
{
    return !m_session->maxDepositBalance().isEmpty();
}

bool AccountInfoDialogController::hasCredit() const
{
    return !m_session->maxCreditBalance().isEmpty();
}

bool AccountInfoDialogController::hasAllocation() const
{
    return !m_session->allocationMarker().isEmpty();
}

bool AccountInfoDialogController::hasLibraryDeposit() const
{
    return m_session->libraryDepositShown();
}
