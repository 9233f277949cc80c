#pragma once

#include <QString>
#include <QStringList>

// The shared printers the client was started with: connected for the run, the first one made
// the default printer, and all of them removed again at the end.
class SharedPrinterMappingsInterface
{
public:
    virtual ~SharedPrinterMappingsInterface() = default;
    // False only when printers were named and none of them could be connected.
    virtual bool connectToSharedPrinters(const QStringList &printerNames) = 0;
    virtual void disconnectFromSharedPrinters() = 0;
    virtual void setDefaultPrinter(const QString &printerName) = 0;
};
