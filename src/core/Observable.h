#pragma once

#include <vector>

namespace UtilsLib {

class Observer;
class ObservableEvent;

// Base of every component that reports what it does. Observers are not owned; a copy
// reports to the same observers as its original. The list is not locked: observers are
// added during start-up, before events flow.
class Observable
{
public:
    Observable() = default;
    Observable(const Observable &other) = default;
    Observable &operator=(const Observable &other) = default;
    virtual ~Observable() = default;

    // Null, discarding (Observer::discardsEvents) and already present observers are ignored.
    virtual void addObserver(Observer *observer);
    void removeObserver(Observer *observer);
    void notifyObservers(const ObservableEvent &event) const;

    // Lets callers skip building an event nobody would receive.
    bool hasObservers() const { return !m_observers.empty(); }

private:
    std::vector<Observer *> m_observers;
};

} // namespace UtilsLib
