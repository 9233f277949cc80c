#pragma once

#include "core/Observer.h"

// The observer used when logging is switched off: every event is discarded.
class NullLogger : public UtilsLib::Observer
{
public:
    void notify(const UtilsLib::ObservableEvent &) override {}
    bool discardsEvents() const override { return true; }
};
