#pragma once

#include <QtGlobal>

// Decides whether a job of so many pages may still be printed in the user's session.
class PageCountValidator
{
public:
    virtual ~PageCountValidator() = default;
    virtual bool check(qint32 pages) = 0;
};
