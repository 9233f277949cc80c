#pragma once

#include "core/AppContextEntryInterface.h"

namespace UtilsLib {
class Observer;
}

namespace Brindlecore::Core {

// Makes and owns the process's observer (the logger); registered as "observerManager".
class ObserverFactoryInterface : public AppContextEntryInterface
{
public:
    static inline const QString EntryName = QStringLiteral("observerManager");

    virtual UtilsLib::Observer *getObserver() = 0;
};

} // namespace Brindlecore::Core
