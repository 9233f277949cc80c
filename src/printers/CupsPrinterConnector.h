#pragma once

#include "core/Observable.h"
#include "core/PrinterConnectorInterface.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace UtilsLib {
class Observer;
}

// The client's contact with the CUPS spooler: connections to shared printers as local queues,
// the user's default printer, and the Print Service address found through the virtual printer.
// No spooler step holds the calling thread longer than WaitLimit; it never prompts for a
// password and never changes a queue it did not create for a share.
class CupsPrinterConnector
    : public UtilsLib::Observable
    , public PrinterConnectorInterface
{
public:
    // The longest one spooler step (a listing, a request, a name lookup) may hold the caller.
    static constexpr std::chrono::milliseconds WaitLimit{3000};
    static constexpr int DefaultAttempts = 60;
    static constexpr int DefaultIntervalMs = 5000;

    // The observer (the logger) is not owned. The default-printer worker tries up to
    // `attempts` times, `intervalMs` apart.
    explicit CupsPrinterConnector(UtilsLib::Observer *observer, int attempts = DefaultAttempts,
                                  int intervalMs = DefaultIntervalMs);
    // Stops a running default-printer worker after its current attempt and waits for it.
    ~CupsPrinterConnector() override;

    CupsPrinterConnector(const CupsPrinterConnector &) = delete;
    CupsPrinterConnector &operator=(const CupsPrinterConnector &) = delete;

    bool addConnection(const QString &printerName) override;
    bool removeConnection(const QString &printerName) override;
    void setDefaultPrinter(const QString &printerName) override;
    QString getDefaultPrinter() override;
    QString getPrintServiceForOndrelPrinter() override;
    void onTerminate() override;
    bool initialize() override;

    // Drops the user's own printing options of every virtual printer queue (called once at
    // start-up), so its jobs use the queue's defaults.
    void resetPerUserDefaults();

    // True while a default-printer worker of this process is running.
    static bool isSettingDefaultPrinter();

private:
    // The virtual printer's server as the spooler knows it: "127.0.0.1" for a local queue, a
    // host name for a remote one, empty without a virtual printer or when listing failed.
    QString getPrintServiceForOndrelPrinterPrivate();
    // Drops the user's options of one queue; the read and the write are logged as such.
    void resetPrinter(const QString &queueName);
    void runDefaultPrinterWorker(const QString &queueName);
    void finishDefaultPrinterWork();

    int m_attempts;
    std::chrono::milliseconds m_interval;

    std::thread m_worker;
    std::mutex m_stopMutex;
    std::condition_variable m_stopCondition;
    bool m_stopping = false;

    // One default-printer worker per process: a request made while one runs is dropped.
    static std::atomic<bool> s_workerBusy;
};
