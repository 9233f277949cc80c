#include "shell/TpcApplication.h"

#include "settings/PrintClientPreferences.h"

#include <QPixmapCache>
#include <QSessionManager>

TpcApplication::TpcApplication(int &argc, char **argv, PrintClientPreferences *preferences)
    : QtSingleApplication(Identifier, argc, argv)
    , m_preferences(preferences)
{
    connect(this, &QGuiApplication::commitDataRequest, this, &TpcApplication::commitData);
    // The client runs until it is stopped; a job's dialog closing while no other window is on
    // screen must not end it.
    setQuitOnLastWindowClosed(false);
    // The style keeps what it draws under keys that hold the palette's identity, which is new
    // for every dialog (each sets its white background), so no later dialog uses them again.
    // The client shows one small dialog at a time; a cache of 1 MiB holds what that dialog
    // draws, where the toolkit's 10 MiB would only add 10 MiB to a client that runs for days.
    QPixmapCache::setCacheLimit(PixmapCacheKiB);
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
