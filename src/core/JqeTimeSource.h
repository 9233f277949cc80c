#pragma once

#include "core/AppContextEntryInterface.h"
#include "core/TimeSourceInterface.h"

namespace Brindlecore::Core {

// The workstation's local clock, registered in the AppContext as "timeSource".
class JqeTimeSource
    : public AppContextEntryInterface
    , public TimeSourceInterface
{
public:
    static inline const QString EntryName = QStringLiteral("timeSource");

    QString entryName() const override { return EntryName; }
    QDateTime currentDateTime() const override { return QDateTime::currentDateTime(); }
};

} // namespace Brindlecore::Core
