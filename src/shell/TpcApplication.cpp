#include "shell/TpcApplication.h"

#include "settings/PrintClientPreferences.h"

#include <QSessionManager>

TpcApplication::TpcApplication(int &argc, char **argv, PrintClientPreferences *preferences)
    : QtSingleApplication(Identifier, argc, argv)
    , m_preferences(preferences)
{
    connect(this, &QGuiApplication::commitDataRequest, this, &TpcApplication::commitData);
    // The client runs until it is stopped; a job's dialog closing while no other window is on
    // screen must not end it.
    setQuitOnLastWindowClosed(false);
}

void TpcApplication::commitData(QSessionManager &manager)
{
    // The client has nothing to save; it only has to leave in order before the session ends.
    manager.release();
    endSession();
}

void TpcApplication::endSession()
{
    if (m_preferences)
        m_preferences->setStaffPassword(QString());
    quit();
}
