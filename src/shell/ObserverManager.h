#pragma once

#include "core/ObserverFactoryInterface.h"

#include <QString>

#include <memory>

namespace UtilsLib {
class Observer;
class XmlPreferences;
} // namespace UtilsLib

namespace Brindlecore::Core {

// Makes the process's one observer: the log4cpp logger, or a logger that discards everything
// when "Logging: Enabled" is 0. Registered in the AppContext as "observerManager".
class ObserverManager : public ObserverFactoryInterface
{
public:
    ObserverManager(const QString &componentName, const UtilsLib::XmlPreferences &preferences,
                    const QString &logDirectory);
    ~ObserverManager() override;

    QString entryName() const override { return EntryName; }
    UtilsLib::Observer *getObserver() override { return m_observer.get(); }

private:
    std::unique_ptr<UtilsLib::Observer> m_observer;
};

} // namespace Brindlecore::Core
