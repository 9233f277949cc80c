#pragma once

#include <QString>
#include <QtGlobal>

// The read-only view of a received job that the cost dialog shows: its pages, what they cost and
// what the user must still confirm. The letter after each getter is the wire tag it comes from.
class PageCountDialogModel
{
public:
    virtual ~PageCountDialogModel() = default;

    virtual QString getPrice() const = 0;       // B
    virtual qint32 getFreeCount() const = 0;    // C
    virtual qint32 getTotalPages() const = 0;   // A
    virtual QString getTotalCost() const = 0;   // E
    virtual bool isUserIdRequired() const = 0;  // D
    virtual QString getAccountText() const = 0; // F
    virtual bool isFree() const = 0;            // G
    virtual qint32 getTotalSheets() const = 0;  // H
    virtual bool getFlagI() const = 0;          // I
};
