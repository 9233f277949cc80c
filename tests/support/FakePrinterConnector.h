#pragma once

#include "core/PrinterConnectorInterface.h"

#include <QStringList>

// Stands in for the print spooler: gives the Print Service address a test chose (each test
// program its own loopback address, since the port is fixed), records the other calls and
// refuses the connections a test names.
class FakePrinterConnector : public PrinterConnectorInterface
{
public:
    explicit FakePrinterConnector(const QString &printServiceAddress)
        : m_address(printServiceAddress)
    {}

    bool addConnection(const QString &printerName) override
    {
        m_calls.append(QStringLiteral("addConnection ") + printerName);
        return !m_refused.contains(printerName);
    }
    bool removeConnection(const QString &printerName) override
    {
        m_calls.append(QStringLiteral("removeConnection ") + printerName);
        return true;
    }
    void setDefaultPrinter(const QString &printerName) override
    {
        m_calls.append(QStringLiteral("setDefaultPrinter ") + printerName);
    }
    QString getDefaultPrinter() override { return m_defaultPrinter; }
    QString getPrintServiceForOndrelPrinter() override { return m_address; }
    void onTerminate() override { m_calls.append(QStringLiteral("onTerminate")); }
    bool initialize() override { return true; }

    // What getDefaultPrinter answers; setDefaultPrinter only records the call.
    void setCurrentDefaultPrinter(const QString &name) { m_defaultPrinter = name; }
    void refuseConnection(const QString &printerName) { m_refused.append(printerName); }
    const QStringList &calls() const { return m_calls; }

private:
    QString m_address;
    QString m_defaultPrinter;
    QStringList m_calls;
    QStringList m_refused;
};
