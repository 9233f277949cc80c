#pragma once

#include <QList>
#include <QString>

#include <chrono>
#include <optional>

// The libcups requests the printer connector needs, each over a connection of its own to the
// local scheduler (or, for a share, to its server) that gives up after a deadline. Every call
// blocks its thread, never prompts for a password and reports failures as CUPS error texts; run
// the calls on a worker thread, never on the GUI thread.
class CupsSpooler
{
public:
    using Deadline = std::chrono::steady_clock::time_point;

    // One queue as the scheduler and the user's lpoptions list it.
    struct Queue
    {
        QString name;
        QString info;       // printer-info, the description users see
        QString deviceUri;  // where the queue sends its jobs
        QString printerUri; // printer-uri-supported
        bool isDefault = false;

        // The computer the queue prints to: the host of a network device (ipp, ipps, http,
        // https, socket, lpd), else the host of the queue's own address when that is not this
        // computer; empty for a local queue.
        QString server() const;
    };

    struct Listing
    {
        bool ok = false;
        QString error;
        QList<Queue> queues; // in the scheduler's order, without user-defined instances
    };

    struct Outcome
    {
        bool ok = false;
        QString error;
    };

    // What a queue's own attributes say (for a local queue or a shared one on a server).
    struct QueueAttributes
    {
        bool ok = false;    // the server answered
        bool found = false; // and knows the queue
        QString error;
        QString info;
        QString deviceUri;
        QString location; // printer-location
    };

    enum class ResetStep { Done, ReadFailed, WriteFailed };
    struct ResetOutcome
    {
        ResetStep step = ResetStep::ReadFailed;
        QString error;
    };

    static Listing listQueues(Deadline deadline);
    // Asks the server of printerUri (ipp or ipps) about one of its queues.
    static QueueAttributes remoteQueue(const QString &printerUri, Deadline deadline);
    static QueueAttributes localQueue(const QString &queueName, Deadline deadline);
    // Creates (or updates) a local queue sending to deviceUri with the driverless model,
    // accepting jobs and idle; refused unless the user is a CUPS administrator.
    static Outcome addQueue(const QString &queueName, const QString &deviceUri, const QString &info,
                            const QString &location, Deadline deadline);
    static Outcome deleteQueue(const QString &queueName, Deadline deadline);
    // Makes the queue the user's default in lpoptions; fails when the scheduler does not list it.
    static Outcome setUserDefault(const QString &queueName, Deadline deadline);
    // Drops the user's option overrides of the queue from lpoptions, keeping the user's default;
    // reading fails too when the scheduler no longer lists the queue.
    static ResetOutcome resetUserOptions(const QString &queueName, Deadline deadline);
    // The toolkit's default printer (QPrinterInfo), which follows lpoptions, LPDEST and PRINTER.
    // Empty when the spooler is still busy with an earlier call at the deadline.
    static std::optional<QString> toolkitDefaultPrinter(Deadline deadline);
};
