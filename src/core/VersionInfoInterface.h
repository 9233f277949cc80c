#pragma once

#include <QString>

// The program's own version texts, as shown in captions, the notice line and the about box.
class VersionInfoInterface
{
public:
    virtual ~VersionInfoInterface() = default;
    // "%02d.%02d.%02d.%04d", for example 01.00.00.0001.
    virtual QString fileVersion() const = 0;
    virtual QString companyName() const = 0;
    virtual QString copyright() const = 0;
    virtual QString fileDescription() const = 0;
    virtual QString productName() const = 0;
    // The running executable's file name without folder and extension.
    virtual QString executableBaseName() const = 0;
};
