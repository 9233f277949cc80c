#pragma once

#include "protocol/ConnectionListenerInterface.h"
#include "protocol/RegistrationListenerInterface.h"
#include "shell/TrayIcon.h"

class OpcMainWindow;

namespace UtilsLib {
class RegistryInterface;
}

// The client's icon: black and white while it is not registered with the Print Service, in
// colour once it is; the program's description as tool tip; a left click shows the main
// window; the menu "About", "Show", "Quit", in the current language each time it opens.
class TpcTrayIcon
    : public TrayIcon
    , public ConnectionListenerInterface
    , public RegistrationListenerInterface
{
    Q_OBJECT

public:
    // A child of the main window; the registry chooses the registered picture's size.
    TpcTrayIcon(OpcMainWindow *mainWindow, const QString &toolTip,
                UtilsLib::RegistryInterface *registry);

    void connectionEstablished() override;
    void connectionLost() override;
    void registrationComplete() override;

public slots:
    void redrawText();

private:
    OpcMainWindow *m_mainWindow;
    UtilsLib::RegistryInterface *m_registry;
};
