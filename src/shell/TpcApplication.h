#pragma once

#include "shell/QtSingleApplication.h"

class PrintClientPreferences;
class SharedPrinterMappings;
class QSessionManager;

// The print client's application object. Besides the single-instance guard it turns every
// request to end from outside (the session manager's logout, SIGTERM, SIGINT, SIGHUP) into
// the same orderly end of the event loop that the stop command takes.
class TpcApplication : public QtSingleApplication
{
    Q_OBJECT

public:
    static inline const QString Identifier = QStringLiteral("Ondrel Laptop Print Client");
    // The size of the style's drawing cache.
    static constexpr int PixmapCacheKiB = 1024;

    // The preferences are not owned and must outlive the application object.
    TpcApplication(int &argc, char **argv, PrintClientPreferences *preferences);

    // Set once the shared printers are connected; not owned.
    void setSharedPrinterMappings(SharedPrinterMappings *mappings) { m_mappings = mappings; }
    SharedPrinterMappings *sharedPrinterMappings() const { return m_mappings; }

    // Ends the event loop as the stop command does. The staff password is forgotten first, so
    // nothing can ask for it while the session goes away.
    void endSession();

private:
    void commitData(QSessionManager &manager);

    SharedPrinterMappings *m_mappings = nullptr;
    PrintClientPreferences *m_preferences;
};
