#pragma once

#include "core/AppContextEntryInterface.h"
#include "core/JqeTimeSource.h"
#include "core/TimeSourceInterface.h"

// A clock that always answers the same instant, so that message wire texts are predictable.
class FixedTimeSource
    : public Brindlecore::Core::AppContextEntryInterface
    , public Brindlecore::Core::TimeSourceInterface
{
public:
    explicit FixedTimeSource(const QDateTime &now)
        : m_now(now)
    {}

    QString entryName() const override { return Brindlecore::Core::JqeTimeSource::EntryName; }
    QDateTime currentDateTime() const override { return m_now; }

private:
    QDateTime m_now;
};
