#pragma once

#include "shell/OpcMainWindowControllerInterface.h"

class MessageBoxInterface;
class OpcMainWindowInterface;
class PasswordValidator;
class PrintClientPreferences;

// An installed client stops only with the staff password; one that is not installed stops
// when asked.
class OpcMainWindowController : public OpcMainWindowControllerInterface
{
public:
    // Nothing is owned; registers itself with the window. Without a message box a refused
    // password is told in a dialog of its own.
    OpcMainWindowController(OpcMainWindowInterface *window, PasswordValidator *validator,
                            PrintClientPreferences *preferences,
                            MessageBoxInterface *messageBox = nullptr);

    bool requestStop() override;
    bool requiresPassword() override;

    static const char *const RefusedTitle;
    static const char *const RefusedText;

private:
    OpcMainWindowInterface *m_window;
    PasswordValidator *m_validator;
    PrintClientPreferences *m_preferences;
    MessageBoxInterface *m_messageBox;
};
