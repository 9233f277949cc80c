#pragma once

#include "core/Observable.h"
#include "core/PrinterConnectorInterface.h"
#include "printers/PrinterShare.h"
#include "printers/QueueUseLock.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

namespace UtilsLib {
class Observer;
}

// The client's contact with the CUPS spooler: connections to shared printers as local queues,
// the user's default printer, and the Print Service address found through the virtual printer.
// No spooler step holds the calling thread longer than WaitLimit; it never prompts for a
// password and never changes a queue it did not create for a share. Several clients on one
// computer (a remote-desktop host) may use one connection queue: it is removed only when the
// last of them stops using it, and only when a client created it.
class CupsPrinterConnector
    : public UtilsLib::Observable
    , public PrinterConnectorInterface
{
public:
    // The longest one spooler step (a listing, a request, a name lookup) may hold the caller.
    static constexpr std::chrono::milliseconds WaitLimit{3000};
    static constexpr int DefaultAttempts = 60;
    static constexpr int DefaultIntervalMs = 5000;
    // The location of the queues clients create: only these are ever removed.
    static constexpr char CreatedQueueLocation[] = "Connected by the Ondrel Laptop Print Client";

    // The observer (the logger) is not owned. The default-printer worker tries up to
    // `attempts` times, `intervalMs` apart. The clients of this computer show their use of a
    // queue in `lockFolder`.
    explicit CupsPrinterConnector(UtilsLib::Observer *observer, int attempts = DefaultAttempts,
                                  int intervalMs = DefaultIntervalMs,
                                  const QString &lockFolder = QueueUseLock::DefaultFolder);
    // Stops a running default-printer worker after its current attempt and waits for it.
    ~CupsPrinterConnector() override;

    CupsPrinterConnector(const CupsPrinterConnector &) = delete;
    CupsPrinterConnector &operator=(const CupsPrinterConnector &) = delete;

    // The queue of a share stays in use by this client until removeConnection or onTerminate,
    // also when connecting failed: the scheduler may still create it after the wait.
    bool addConnection(const QString &printerName) override;
    // Ends this client's use of the queue, and removes it when no other client uses it and a
    // client created it; keeping it is no failure.
    bool removeConnection(const QString &printerName) override;
    void setDefaultPrinter(const QString &printerName) override;
    QString getDefaultPrinter() override;
    QString getPrintServiceForOndrelPrinter() override;
    // Ends the default-printer work, then this client's use of the queues it connected or
    // tried to connect and did not remove, as removeConnection does.
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
    std::shared_ptr<QueueUseLock> openLock(const QString &queueName, const char *operation);

    int m_attempts;
    std::chrono::milliseconds m_interval;
    QString m_lockFolder;

    struct Use
    {
        PrinterShare share;
        // Shared with a spooler step that may outlast the caller's wait.
        std::shared_ptr<QueueUseLock> lock;
    };
    std::map<QString, Use> m_uses; // by queue name

    std::thread m_worker;
    std::mutex m_stopMutex;
    std::condition_variable m_stopCondition;
    bool m_stopping = false;

    // One default-printer worker per process: a request made while one runs is dropped.
    static std::atomic<bool> s_workerBusy;
};
