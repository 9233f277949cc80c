#pragma once

namespace UtilsLib {

class ObservableEvent;

// Receives the events an Observable raises; in the client that is the logger.
class Observer
{
public:
    virtual ~Observer() = default;
    virtual void notify(const ObservableEvent &event) = 0;
    // True for an observer that drops every event; observables do not keep it, so events
    // nobody would read are never built.
    virtual bool discardsEvents() const { return false; }
};

} // namespace UtilsLib
