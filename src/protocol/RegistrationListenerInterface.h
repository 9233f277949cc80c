#pragma once

// Told when registration is complete, that is when the Print Service's settings have been
// handled on the current connection.
class RegistrationListenerInterface
{
public:
    virtual ~RegistrationListenerInterface() = default;
    virtual void registrationComplete() = 0;
};
