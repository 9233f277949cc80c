#pragma once

namespace UtilsLib {

class ObservableEvent;

// Receives the events an Observable raises; in the client that is the logger.
class Observer
{
public:
    virtual ~Observer() = default;
    virtual void notify(const ObservableEvent &event) = 0;
};

} // namespace UtilsLib
