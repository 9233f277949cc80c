#pragma once

class OpcMainWindowControllerInterface;

// The main window as its controller sees it.
class OpcMainWindowInterface
{
public:
    virtual ~OpcMainWindowInterface() = default;
    virtual void setController(OpcMainWindowControllerInterface *controller) = 0;
    // Ends the client when the controller allows it; false when it keeps running.
    virtual bool stop() = 0;
};
