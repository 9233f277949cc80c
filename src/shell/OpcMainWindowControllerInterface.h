#pragma once

// Decides whether the client may stop.
class OpcMainWindowControllerInterface
{
public:
    virtual ~OpcMainWindowControllerInterface() = default;
    // True when the client may stop now (asking for the staff password where it must).
    virtual bool requestStop() = 0;
    virtual bool requiresPassword() = 0;
};
