#pragma once

#include "core/VersionInfoInterface.h"

class FakeVersionInfo : public VersionInfoInterface
{
public:
    QString fileVersion() const override { return QStringLiteral("05.01.02.0037"); }
    QString companyName() const override { return QStringLiteral("Example Works"); }
    QString copyright() const override { return QStringLiteral("Copyright © 2031"); }
    QString fileDescription() const override { return QStringLiteral("Example Client"); }
    QString productName() const override { return QStringLiteral("Example Product"); }
    QString executableBaseName() const override { return QStringLiteral("example"); }
};
