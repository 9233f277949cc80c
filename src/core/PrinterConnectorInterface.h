#pragma once

#include <QString>

// The client's only contact with the print spooler: printer connections, the default
// printer, and the address of the Print Service found through the virtual printer.
class PrinterConnectorInterface
{
public:
    virtual ~PrinterConnectorInterface() = default;
    // Connects the shared printer (a share path such as \\server\share); false when refused.
    virtual bool addConnection(const QString &printerName) = 0;
    // Removes a connection made by addConnection for the same name; false when refused.
    virtual bool removeConnection(const QString &printerName) = 0;
    // Asynchronous and unreported; an empty name is ignored, and a request made while an
    // earlier one is still being retried is dropped. A share path selects its connection.
    virtual void setDefaultPrinter(const QString &printerName) = 0;
    // The user's default printer as the toolkit sees it; empty when there is none.
    virtual QString getDefaultPrinter() = 0;
    // The host address to connect to; never empty ("127.0.0.1" without a virtual printer).
    virtual QString getPrintServiceForOndrelPrinter() = 0;
    virtual void onTerminate() = 0;
    // False means there are no printers to work with.
    virtual bool initialize() = 0;
};
