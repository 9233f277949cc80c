#pragma once

#include "settings/TvrSessionInfo.h"

#include <QList>

// A booking session that answers what the test set and records the pages added to it.
struct FakeBooking : TvrSessionInfo
{
    int pagesPrintedThisSession() override { return printed; }
    bool isInSession() override { return inSession; }
    QString currentUser() override { return user; }
    QString currentPin() override { return pin; }
    QString computerDescription(bool use) override { return use ? description : QString(); }
    void addPagesPrinted(int pages) override { added << pages; }
    QString getLanguage() override { return language; }
    bool encryptPin() override { return false; }

    bool inSession = true;
    int printed = 0;
    QString user;
    QString pin;
    QString description;
    QString language;
    QList<int> added;
};
