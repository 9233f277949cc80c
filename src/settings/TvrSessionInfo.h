#pragma once

#include <QString>

// The computer-booking session of the user who booked this workstation: whether one runs, its
// user and PIN, its language, the booking system's name for the workstation and the pages
// printed in it. Every call reads the booking product afresh; nothing is cached.
class TvrSessionInfo
{
public:
    virtual ~TvrSessionInfo() = default;
    virtual int pagesPrintedThisSession() = 0;
    virtual bool isInSession() = 0;
    virtual QString currentUser() = 0;
    virtual QString currentPin() = 0;
    // Empty unless use is true.
    virtual QString computerDescription(bool use) = 0;
    virtual void addPagesPrinted(int pages) = 0;
    // The session's language mapped to the client's dialect codes ("es_mx" gives "es_us").
    virtual QString getLanguage() = 0;
    virtual bool encryptPin() = 0;
};
