#pragma once

#include <QString>

namespace Brindlecore::Core {

// A process-wide service that can be registered in the AppContext under its name.
class AppContextEntryInterface
{
public:
    virtual QString entryName() const = 0;
    virtual ~AppContextEntryInterface() = default;
};

} // namespace Brindlecore::Core
