#pragma once

#include <QString>

// Who is identified at the workstation and what the Print Service last reported about the
// user's accounts. One record lives for the whole run; the job-flow handlers read, fill and
// clear it. The texts are as the Print Service sends them, ready for rich text. GUI thread only.
class UserSession
{
public:
    // The balance a new or reset session shows for an account without figures.
    static const QString ZeroBalance;

    const QString &userId() const { return m_userId; }
    void setUserId(const QString &userId) { m_userId = userId; }
    // As typed, not encoded.
    const QString &pin() const { return m_pin; }
    void setPin(const QString &pin) { m_pin = pin; }
    const QString &allocationBalance() const { return m_allocationBalance; }
    void setAllocationBalance(const QString &balance) { m_allocationBalance = balance; }
    // Non-empty when the allocation row is shown.
    const QString &allocationMarker() const { return m_allocationMarker; }
    void setAllocationMarker(const QString &marker) { m_allocationMarker = marker; }
    const QString &depositBalance() const { return m_depositBalance; }
    void setDepositBalance(const QString &balance) { m_depositBalance = balance; }
    // Non-empty when the deposit rows are shown.
    const QString &maxDepositBalance() const { return m_maxDepositBalance; }
    void setMaxDepositBalance(const QString &balance) { m_maxDepositBalance = balance; }
    const QString &creditBalance() const { return m_creditBalance; }
    void setCreditBalance(const QString &balance) { m_creditBalance = balance; }
    // Non-empty when the credit rows are shown.
    const QString &maxCreditBalance() const { return m_maxCreditBalance; }
    void setMaxCreditBalance(const QString &balance) { m_maxCreditBalance = balance; }
    bool depositExpired() const { return m_depositExpired; }
    void setDepositExpired(bool expired) { m_depositExpired = expired; }
    bool creditExpired() const { return m_creditExpired; }
    void setCreditExpired(bool expired) { m_creditExpired = expired; }
    // Total pages of the last job the client let through.
    qint32 lastJobPages() const { return m_lastJobPages; }
    void setLastJobPages(qint32 pages) { m_lastJobPages = pages; }
    const QString &libraryDepositBalance() const { return m_libraryDepositBalance; }
    void setLibraryDepositBalance(const QString &balance) { m_libraryDepositBalance = balance; }
    bool libraryDepositShown() const { return m_libraryDepositShown; }
    void setLibraryDepositShown(bool shown) { m_libraryDepositShown = shown; }

    // Forgets the user and the figures: every text empty (the allocation balance too, unlike a
    // new session) except the deposit and credit balances, which show zero.
    void reset();
    // Forgets who the user is and keeps the figures and the last job's pages.
    void clearIdentity();
    // True when either maximum balance is known.
    bool hasAccountInfo() const;

private:
    QString m_userId;
    QString m_pin;
    QString m_allocationBalance = ZeroBalance;
    QString m_allocationMarker;
    QString m_depositBalance = ZeroBalance;
    QString m_maxDepositBalance;
    QString m_creditBalance = ZeroBalance;
    QString m_maxCreditBalance;
    bool m_depositExpired = false;
    bool m_creditExpired = false;
    qint32 m_lastJobPages = 0;
    QString m_libraryDepositBalance;
    bool m_libraryDepositShown = false;
};
