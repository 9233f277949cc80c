#pragma once

#include "core/VersionInfoInterface.h"

// The version texts compiled in from the build's project version and product texts. The
// executable base name needs a QCoreApplication; without one it is empty.
class BuildVersionInfo : public VersionInfoInterface
{
public:
    QString fileVersion() const override;
    QString companyName() const override;
    QString copyright() const override;
    QString fileDescription() const override;
    QString productName() const override;
    QString executableBaseName() const override;

    static QString formatFileVersion(int major, int minor, int patch, int build);
    // The release number as packages and `--version` write it ("1.0.0.1").
    static QString releaseVersion();
};
