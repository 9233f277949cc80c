#pragma once

#include <QString>

// Facts about the logged-on user and the workstation. Texts are null when they cannot be
// read; callers treat that like an empty name.
class EnvironmentProvider
{
public:
    virtual ~EnvironmentProvider() = default;
    virtual QString domainName() const = 0;
    virtual QString userName() const = 0;
    virtual QString computerName() const = 0;
    virtual bool isDomainMember() const { return !domainName().isEmpty(); }
    virtual bool isClientServiceInstalled() const = 0;
};
