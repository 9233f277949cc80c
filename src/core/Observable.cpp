#include "core/Observable.h"

#include "core/Observer.h"

#include <algorithm>

namespace UtilsLib {

void Observable::addObserver(Observer *observer)
{
    if (!observer || observer->discardsEvents() ||
        std::find(m_observers.begin(), m_observers.end(), observer) != m_observers.end())
        return;
    m_observers.push_back(observer);
}

void Observable::removeObserver(Observer *observer)
{
    std::erase(m_observers, observer);
}

void Observable::notifyObservers(const ObservableEvent &event) const
{
    for (Observer *observer : m_observers)
        observer->notify(event);
}

} // namespace UtilsLib
