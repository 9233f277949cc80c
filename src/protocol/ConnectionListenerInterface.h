#pragma once

// Hears when the connection to the Print Service comes up and when it is lost.
class ConnectionListenerInterface
{
public:
    virtual ~ConnectionListenerInterface() = default;
    virtual void connectionEstablished() = 0;
    virtual void connectionLost() = 0;
};
