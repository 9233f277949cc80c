#include "printers/SharedPrinterMappings.h"

#include "core/LogSource.h"
#include "core/PrinterConnectorInterface.h"

using UtilsLib::LogInfo;
using UtilsLib::LogKind;
using UtilsLib::LogVerbose;
using UtilsLib::LogWarning;
using UtilsLib::TraceScope;

namespace {

const UtilsLib::LogSource Log(QStringLiteral("SharedPrinterMappings"));

// True when the connected share path ends in the given printer name as its last element:
// \\server\name, and for the forward-slash forms //server/name or ipp://server/printers/name.
bool endsWithElement(const QString &sharePath, const QString &name)
{
    return sharePath.endsWith(u'\\' + name) || sharePath.endsWith(u'/' + name);
}

} // namespace

SharedPrinterMappings::SharedPrinterMappings(PrinterConnectorInterface *connector,
                                             UtilsLib::Observer *observer)
    : m_connector(connector)
    , m_previousDefaultPrinter(connector->getDefaultPrinter())
{
    addObserver(observer);
}

bool SharedPrinterMappings::connectToSharedPrinters(const QStringList &printerNames)
{
    const TraceScope trace = Log.trace(this, "connectToSharedPrinters");
    if (printerNames.isEmpty()) {
        Log(this, "connectToSharedPrinters", LogInfo, QStringLiteral("No printers to connect"));
        return true;
    }
    for (const QString &name : printerNames) {
        Log(this, "connectToSharedPrinters", LogInfo,
            QStringLiteral("Attempting to connect to %1").arg(name));
        if (m_connector->addConnection(name)) {
            Log(this, "connectToSharedPrinters", LogVerbose,
                QStringLiteral("Successfully connected to %1").arg(name));
            m_connectedPrinters.append(name);
        } else {
            Log(this, "connectToSharedPrinters", LogWarning,
                QStringLiteral("Failed to connect to %1").arg(name));
        }
    }
    if (m_connectedPrinters.isEmpty())
        return false;
    Log(this, "connectToSharedPrinters", LogVerbose,
        QStringLiteral("Attempting to set default printer to %1").arg(m_connectedPrinters.first()));
    setDefaultPrinter(m_connectedPrinters.first());
    return true;
}

void SharedPrinterMappings::setDefaultPrinter(const QString &printerName)
{
    const TraceScope trace = Log.trace(this, "setDefaultPrinter");
    Log(this, "setDefaultPrinter", LogVerbose,
        QStringLiteral("Attempting to set default printer to %1").arg(printerName));
    for (const QString &connected : std::as_const(m_connectedPrinters)) {
        if (endsWithElement(connected, printerName)) {
            m_connector->setDefaultPrinter(connected);
            return;
        }
    }
    m_connector->setDefaultPrinter(printerName);
}

void SharedPrinterMappings::disconnectFromSharedPrinters()
{
    const TraceScope trace = Log.trace(this, "disconnectFromSharedPrinters");
    for (const QString &connected : std::as_const(m_connectedPrinters)) {
        Log(this, "disconnectFromSharedPrinters", LogVerbose,
            QStringLiteral("Attempting to remove connection to %1").arg(connected));
        m_connector->removeConnection(connected);
    }
}

void SharedPrinterMappings::restoreDefaultPrinter()
{
    const TraceScope trace = Log.trace(this, "restoreDefaultPrinter");
    Log(this, "restoreDefaultPrinter", LogVerbose,
        QStringLiteral("Attempting to restore default printer to %1")
            .arg(m_previousDefaultPrinter));
    m_connector->setDefaultPrinter(m_previousDefaultPrinter);
}
