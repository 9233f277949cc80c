#pragma once

#include "core/AppContextEntryInterface.h"

#include <QString>

namespace Brindlecore::Core {

// The name and address of the machine the user works at, and the folders kept per machine.
// Implementations may be read from several threads.
class SystemNetInfoInterface : public AppContextEntryInterface
{
public:
    virtual QString address() const = 0;
    virtual void setAddress(const QString &address) = 0;
    virtual QString name() const = 0;
    virtual void setName(const QString &name) = 0;
    virtual QString logFolder() const = 0;
    virtual QString configFolder() const = 0;
};

} // namespace Brindlecore::Core
