#pragma once

#include "printers/PrinterConnectorInterface.h"

// Stands in for the print spooler: gives the Print Service address a test chose (each test
// program its own loopback address, since the port is fixed); every other call succeeds
// and does nothing.
class FakePrinterConnector : public PrinterConnectorInterface
{
public:
    explicit FakePrinterConnector(const QString &printServiceAddress)
        : m_address(printServiceAddress)
    {}

    bool addConnection(const QString &) override { return true; }
    bool removeConnection(const QString &) override { return true; }
    void setDefaultPrinter(const QString &) override {}
    QString getDefaultPrinter() override { return QString(); }
    QString getPrintServiceForOndrelPrinter() override { return m_address; }
    void onTerminate() override {}
    bool initialize() override { return true; }

private:
    QString m_address;
};
