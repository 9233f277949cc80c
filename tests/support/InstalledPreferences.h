#pragma once

#include "settings/PrintClientPreferences.h"

// Client preferences without files whose installed check answers what the test says.
class InstalledPreferences : public PrintClientPreferences
{
public:
    explicit InstalledPreferences(bool installed = false)
        : PrintClientPreferences(nullptr)
        , installed(installed)
    {}
    bool isInstalled() const override { return installed; }

    bool installed;
};
