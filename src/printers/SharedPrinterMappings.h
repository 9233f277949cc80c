#pragma once

#include "core/Observable.h"
#include "printers/SharedPrinterMappingsInterface.h"

namespace UtilsLib {
class Observer;
}
class PrinterConnectorInterface;

// Connects the shared printers named on the command line for the duration of the run and puts
// the default printer found at start back at the end. All spooler work goes through the printer
// connector; this class never touches the spooler itself.
class SharedPrinterMappings
    : public SharedPrinterMappingsInterface
    , public UtilsLib::Observable
{
public:
    // Neither the connector nor the observer (the logger) is owned; the connector must outlive
    // this object. The current default printer is read here, to be restored at the end.
    SharedPrinterMappings(PrinterConnectorInterface *connector, UtilsLib::Observer *observer);

    bool connectToSharedPrinters(const QStringList &printerNames) override;
    // Removes every connection this object made; results are not reported.
    void disconnectFromSharedPrinters() override;
    // A short name that is the last element of a connected share path selects that share.
    void setDefaultPrinter(const QString &printerName) override;
    void restoreDefaultPrinter();

private:
    QStringList m_connectedPrinters;
    PrinterConnectorInterface *m_connector;
    QString m_previousDefaultPrinter;
};
