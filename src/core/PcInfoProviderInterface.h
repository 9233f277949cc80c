#pragma once

#include <QString>

// Tells whether the client runs in a remote session and which machine the user sits at:
// the remote client's name and address in a remote session, the workstation's own otherwise.
class PcInfoProviderInterface
{
public:
    virtual ~PcInfoProviderInterface() = default;
    virtual bool isRemoteSession() const = 0;
    virtual QString machineName() const = 0;
    virtual QString machineAddress() const = 0;
};
