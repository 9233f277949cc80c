#include "jobflow/UserSession.h"

const QString UserSession::ZeroBalance = QStringLiteral("<html>&#36;</html>0.00");

void UserSession::reset()
{
    *this = UserSession();
    m_allocationBalance.clear();
}

void UserSession::clearIdentity()
{
    m_userId.clear();
    m_pin.clear();
}

bool UserSession::hasAccountInfo() const
{
    return !m_maxDepositBalance.isEmpty() || !m_maxCreditBalance.isEmpty();
}
