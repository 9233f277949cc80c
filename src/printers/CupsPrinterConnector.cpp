#include "printers/CupsPrinterConnector.h"

#include "core/LogSource.h"
#include "printers/BoundedCall.h"
#include "printers/CupsSpooler.h"
#include "printers/PrinterShare.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>

#include <system_error>
#include <utility>

using UtilsLib::LogInfo;
using UtilsLib::LogKind;
using UtilsLib::LogVerbose;
using UtilsLib::LogWarning;
using UtilsLib::TraceScope;

std::atomic<bool> CupsPrinterConnector::s_workerBusy{false};

namespace {

const UtilsLib::LogSource Log(QStringLiteral("CupsPrinterConnector"));
const QString VirtualPrinterInfo = QStringLiteral("Brindlecore Virtual Printer");
const QString LocalAddress = QStringLiteral("127.0.0.1");
const QString NullAddress = QStringLiteral("0.0.0.0");

// A request gives up a little before the caller stops waiting, so the caller normally sees the
// spooler's own error rather than only that time ran out.
constexpr std::chrono::milliseconds RequestLimit =
    CupsPrinterConnector::WaitLimit - std::chrono::milliseconds(500);

CupsSpooler::Deadline requestDeadline()
{
    return std::chrono::steady_clock::now() + RequestLimit;
}

QString timedOut()
{
    return QStringLiteral("Timed out waiting for the print spooler");
}

// The first IPv4 address of a host name in dotted form; empty when the lookup fails.
QString firstIPv4Address(const QString &host)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    if (getaddrinfo(host.toUtf8().constData(), nullptr, &hints, &found) != 0 || !found)
        return QString();
    char text[INET_ADDRSTRLEN] = {};
    const auto *address = reinterpret_cast<const sockaddr_in *>(found->ai_addr);
    const bool converted = inet_ntop(AF_INET, &address->sin_addr, text, sizeof text) != nullptr;
    freeaddrinfo(found);
    return converted ? QString::fromLatin1(text) : QString();
}

CupsSpooler::Listing listQueues()
{
    const CupsSpooler::Deadline deadline = requestDeadline();
    const std::optional<CupsSpooler::Listing> listing = callWithin<CupsSpooler::Listing>(
        CupsPrinterConnector::WaitLimit, [deadline] { return CupsSpooler::listQueues(deadline); });
    if (listing)
        return *listing;
    CupsSpooler::Listing failed;
    failed.error = timedOut();
    return failed;
}

CupsSpooler::Outcome failure(const QString &error)
{
    CupsSpooler::Outcome outcome;
    outcome.error = error;
    return outcome;
}

// What became of a queue this client stopped using.
enum class Release { Removed, InUse, NotCreatedByAClient, NotThere, Failed };
struct Released
{
    Release result = Release::Failed;
    QString error;
};

// Connecting a share creates the local queue for it after its server has confirmed the share;
// the queue takes the share's description, so a connected virtual printer is found as one, and
// the clients' location, so that no client ever removes a queue an administrator made.
CupsSpooler::Outcome connectShare(const PrinterShare &share, const QString &printerName,
                                  QueueUseLock &use)
{
    const std::lock_guard<std::mutex> steps(use.steps());
    // The deadline starts once no client that leaves can remove the queue any more.
    use.share();
    const CupsSpooler::Deadline deadline = requestDeadline();
    const CupsSpooler::QueueAttributes remote =
        CupsSpooler::remoteQueue(share.deviceUri(), deadline);
    if (!remote.ok || !remote.found)
        return failure(remote.error);
    const QString queueName = share.queueName();
    const CupsSpooler::QueueAttributes local = CupsSpooler::localQueue(queueName, deadline);
    if (!local.ok)
        return failure(local.error);
    if (local.found) {
        if (local.deviceUri == share.deviceUri()) {
            CupsSpooler::Outcome connected;
            connected.ok = true;
            return connected;
        }
        return failure(QStringLiteral("The printer %1 already exists and prints to %2")
                           .arg(queueName, local.deviceUri));
    }
    const QString info = remote.info.isEmpty() ? printerName : remote.info;
    return CupsSpooler::addQueue(queueName, share.deviceUri(), info,
                                 QString::fromLatin1(CupsPrinterConnector::CreatedQueueLocation),
                                 deadline);
}

// Only a queue a client made for this share is deleted, never another that happens to have its
// name, and only by the last client using it. Deciding with the queue held alone keeps a client
// that connects meanwhile from finding the queue just before it goes.
Released disconnectShare(const PrinterShare &share, QueueUseLock &use)
{
    const std::lock_guard<std::mutex> steps(use.steps());
    if (!use.takeAlone())
        return {Release::InUse, QString()};
    const CupsSpooler::Deadline deadline = requestDeadline();
    const QString queueName = share.queueName();
    const CupsSpooler::QueueAttributes local = CupsSpooler::localQueue(queueName, deadline);
    if (!local.ok)
        return {Release::Failed, local.error};
    if (!local.found)
        return {Release::NotThere, local.error};
    if (local.deviceUri != share.deviceUri())
        return {Release::NotThere,
                QStringLiteral("The printer %1 prints to %2, not to the shared printer")
                    .arg(queueName, local.deviceUri)};
    if (local.location != QLatin1String(CupsPrinterConnector::CreatedQueueLocation))
        return {Release::NotCreatedByAClient, QString()};
    const CupsSpooler::Outcome deleted = CupsSpooler::deleteQueue(queueName, deadline);
    return {deleted.ok ? Release::Removed : Release::Failed, deleted.error};
}

Released releaseWithinLimit(const PrinterShare &share, std::shared_ptr<QueueUseLock> use)
{
    // The work lets go of its share of the lock before it reports, so that the lock is free
    // when this returns and not only when the worker thread has ended.
    const std::optional<Released> released =
        callWithin<Released>(CupsPrinterConnector::WaitLimit, [share, use]() mutable {
            const Released result = disconnectShare(share, *use);
            use.reset();
            return result;
        });
    return released ? *released : Released{Release::Failed, timedOut()};
}

// Logs a queue kept for others; true unless removing the queue failed.
bool reportRelease(const UtilsLib::Observable *self, const char *operation,
                   const QString &queueName, const Released &released)
{
    if (released.result == Release::InUse || released.result == Release::NotCreatedByAClient)
        Log(self, operation, LogInfo,
            QStringLiteral("Keeping the printer %1: %2")
                .arg(queueName, released.result == Release::InUse
                                    ? QStringLiteral("another client may use it")
                                    : QStringLiteral("no print client created it")));
    else if (released.result != Release::Removed)
        Log(self, operation, LogWarning,
            QStringLiteral("DeletePrinterConnection failed.  Last error=%1").arg(released.error));
    return released.result != Release::NotThere && released.result != Release::Failed;
}

QString notAShareText(const QString &printerName)
{
    return QStringLiteral("\"%1\" is not a shared printer (\\\\server\\share)").arg(printerName);
}

} // namespace

CupsPrinterConnector::CupsPrinterConnector(UtilsLib::Observer *observer, int attempts,
                                           int intervalMs, const QString &lockFolder)
    : m_attempts(attempts)
    , m_interval(intervalMs)
    , m_lockFolder(lockFolder)
{
    addObserver(observer);
}

CupsPrinterConnector::~CupsPrinterConnector()
{
    finishDefaultPrinterWork();
}

void CupsPrinterConnector::finishDefaultPrinterWork()
{
    {
        std::lock_guard<std::mutex> lock(m_stopMutex);
        m_stopping = true;
    }
    m_stopCondition.notify_all();
    if (m_worker.joinable())
        m_worker.join();
}

bool CupsPrinterConnector::addConnection(const QString &printerName)
{
    const TraceScope trace = Log.trace(this, "addConnection");
    Log(this, "addConnection", LogInfo, QStringLiteral("Adding connection to %1").arg(printerName));
    const std::optional<PrinterShare> share = PrinterShare::parse(printerName);
    CupsSpooler::Outcome outcome = failure(notAShareText(printerName));
    if (share) {
        auto known = m_uses.find(share->queueName());
        if (known == m_uses.end())
            known = m_uses
                        .emplace(share->queueName(),
                                 Use{*share, openLock(share->queueName(), "addConnection")})
                        .first;
        const std::optional<CupsSpooler::Outcome> done = callWithin<CupsSpooler::Outcome>(
            WaitLimit, [share = *share, printerName, use = known->second.lock] {
                return connectShare(share, printerName, *use);
            });
        outcome = done ? *done : failure(timedOut());
    }
    if (!outcome.ok)
        Log(this, "addConnection", LogWarning,
            QStringLiteral("AddPrinterConnection failed.  Last error=%1").arg(outcome.error));
    return outcome.ok;
}

bool CupsPrinterConnector::removeConnection(const QString &printerName)
{
    const TraceScope trace = Log.trace(this, "removeConnection");
    Log(this, "removeConnection", LogInfo,
        QStringLiteral("Deleting connection to %1").arg(printerName));
    const std::optional<PrinterShare> share = PrinterShare::parse(printerName);
    if (!share)
        return reportRelease(this, "removeConnection", printerName,
                             {Release::Failed, notAShareText(printerName)});
    const QString queueName = share->queueName();
    const auto known = m_uses.find(queueName);
    std::shared_ptr<QueueUseLock> use;
    if (known == m_uses.end()) {
        use = openLock(queueName, "removeConnection");
    } else {
        use = std::move(known->second.lock);
        m_uses.erase(known);
    }
    return reportRelease(this, "removeConnection", queueName,
                         releaseWithinLimit(*share, std::move(use)));
}

std::shared_ptr<QueueUseLock> CupsPrinterConnector::openLock(const QString &queueName,
                                                             const char *operation)
{
    auto lock = std::make_shared<QueueUseLock>(m_lockFolder, queueName);
    if (!lock->error().isEmpty())
        Log(this, operation, LogWarning,
            QStringLiteral("Other clients' use of the printer %1 cannot be seen: %2")
                .arg(queueName, lock->error()));
    return lock;
}

void CupsPrinterConnector::setDefaultPrinter(const QString &printerName)
{
    const TraceScope trace = Log.trace(this, "setDefaultPrinter");
    if (printerName.isEmpty()) {
        Log(this, "setDefaultPrinter", LogInfo, QStringLiteral("Printer name is empty"));
        return;
    }
    // libcups lets these variables name the default printer before lpoptions does.
    const QString lpdest = qEnvironmentVariable("LPDEST");
    const QString printer = qEnvironmentVariable("PRINTER");
    if (!lpdest.isEmpty())
        Log(this, "setDefaultPrinter", LogWarning,
            QStringLiteral("LPDEST=%1 overrides the default printer").arg(lpdest));
    else if (!printer.isEmpty() && printer != QLatin1String("lp"))
        Log(this, "setDefaultPrinter", LogWarning,
            QStringLiteral("PRINTER=%1 overrides the default printer").arg(printer));

    bool idle = false;
    if (!s_workerBusy.compare_exchange_strong(idle, true))
        return; // another worker is still trying; this request is dropped
    // A previous worker of this connector has released the flag, so it has finished.
    if (m_worker.joinable())
        m_worker.join();
    try {
        m_worker = std::thread(&CupsPrinterConnector::runDefaultPrinterWorker, this,
                               PrinterShare::queueNameFor(printerName));
    } catch (const std::system_error &) {
        s_workerBusy.store(false);
    }
}

void CupsPrinterConnector::runDefaultPrinterWorker(const QString &queueName)
{
    for (int attempt = 1; attempt <= m_attempts; ++attempt) {
        // The attempt is made even when the connector is being destroyed: the default printer
        // restored at shutdown is set just before that.
        if (CupsSpooler::setUserDefault(queueName, requestDeadline()).ok || attempt == m_attempts)
            break;
        std::unique_lock<std::mutex> lock(m_stopMutex);
        if (m_stopCondition.wait_for(lock, m_interval, [this] { return m_stopping; }))
            break;
    }
    s_workerBusy.store(false);
}

bool CupsPrinterConnector::isSettingDefaultPrinter()
{
    return s_workerBusy.load();
}

QString CupsPrinterConnector::getDefaultPrinter()
{
    const TraceScope trace = Log.trace(this, "getDefaultPrinter");
    const CupsSpooler::Deadline deadline = requestDeadline();
    const std::optional<std::optional<QString>> name = callWithin<std::optional<QString>>(
        WaitLimit, [deadline] { return CupsSpooler::toolkitDefaultPrinter(deadline); });
    if (!name || !*name)
        Log(this, "getDefaultPrinter", LogWarning,
            QStringLiteral("Default printer lookup failed.  Last error=%1").arg(timedOut()));
    const QString defaultPrinter = name && *name ? **name : QString();
    Log(this, "getDefaultPrinter", LogInfo,
        QStringLiteral("Default printer is %1").arg(defaultPrinter));
    return defaultPrinter;
}

QString CupsPrinterConnector::getPrintServiceForOndrelPrinterPrivate()
{
    const TraceScope trace = Log.trace(this, "getPrintServiceForOndrelPrinterPrivate");
    const CupsSpooler::Listing listing = listQueues();
    if (!listing.ok) {
        Log(this, "getPrintServiceForOndrelPrinterPrivate", LogWarning,
            QStringLiteral("EnumPrinters failed.  Last error=%1").arg(listing.error));
        return QString();
    }
    QString address;
    for (const CupsSpooler::Queue &queue : listing.queues) {
        if (queue.info == VirtualPrinterInfo) {
            address = queue.server();
            if (address.isEmpty())
                address = LocalAddress;
            break;
        }
    }
    Log(this, "getPrintServiceForOndrelPrinterPrivate", LogVerbose,
        QStringLiteral("Print Service address is %1").arg(address));
    return address;
}

QString CupsPrinterConnector::getPrintServiceForOndrelPrinter()
{
    const TraceScope trace = Log.trace(this, "getPrintServiceForOndrelPrinter");
    QString address = getPrintServiceForOndrelPrinterPrivate();
    if (address.isEmpty()) {
        address = LocalAddress;
    } else {
        const std::optional<QString> resolved =
            callWithin<QString>(WaitLimit, [host = address] { return firstIPv4Address(host); });
        address = resolved && !resolved->isEmpty() ? *resolved : NullAddress;
    }
    Log(this, "getPrintServiceForOndrelPrinter", LogInfo,
        QStringLiteral("Print service address is %1").arg(address));
    return address;
}

void CupsPrinterConnector::onTerminate()
{
    const TraceScope trace = Log.trace(this, "onTerminate");
    // The attempt in progress (the default printer put back at the end) is finished; no
    // further retries are made.
    finishDefaultPrinterWork();
    // What is left are mostly connections that failed. One whose request overran may have been
    // carried out by the scheduler after the client stopped waiting; its queue goes too.
    for (auto &[queueName, use] : std::exchange(m_uses, {})) {
        const Released released = releaseWithinLimit(use.share, std::move(use.lock));
        if (released.result == Release::Removed)
            Log(this, "onTerminate", LogInfo,
                QStringLiteral("Removed the printer %1 left by a connection that failed")
                    .arg(queueName));
        else if (released.result != Release::NotThere)
            reportRelease(this, "onTerminate", queueName, released);
    }
}

bool CupsPrinterConnector::initialize()
{
    const TraceScope trace = Log.trace(this, "initialize");
    return true;
}

void CupsPrinterConnector::resetPerUserDefaults()
{
    const TraceScope trace = Log.trace(this, "resetPerUserDefaults");
    const CupsSpooler::Listing listing = listQueues();
    if (!listing.ok) {
        Log(this, "resetPerUserDefaults", LogWarning,
            QStringLiteral("EnumPrinters failed.  Last error=%1").arg(listing.error));
        return;
    }
    for (const CupsSpooler::Queue &queue : listing.queues) {
        if (queue.info != VirtualPrinterInfo)
            continue;
        // CUPS has no printer handle to open; asking the queue for its attributes is the
        // nearest step, and fails the same way for a queue that has just gone.
        const CupsSpooler::Deadline deadline = requestDeadline();
        const std::optional<CupsSpooler::QueueAttributes> opened =
            callWithin<CupsSpooler::QueueAttributes>(WaitLimit, [name = queue.name, deadline] {
                return CupsSpooler::localQueue(name, deadline);
            });
        if (!opened || !opened->found) {
            Log(this, "resetPerUserDefaults", LogWarning,
                QStringLiteral("Failed to open %1.  Last error=%2")
                    .arg(queue.name, opened ? opened->error : timedOut()));
            continue;
        }
        resetPrinter(queue.name);
    }
}

void CupsPrinterConnector::resetPrinter(const QString &queueName)
{
    const TraceScope trace = Log.trace(this, "resetPrinter");
    const CupsSpooler::Deadline deadline = requestDeadline();
    const std::optional<CupsSpooler::ResetOutcome> reset =
        callWithin<CupsSpooler::ResetOutcome>(WaitLimit, [queueName, deadline] {
            return CupsSpooler::resetUserOptions(queueName, deadline);
        });
    if (!reset || reset->step == CupsSpooler::ResetStep::ReadFailed) {
        Log(this, "resetPrinter", LogWarning,
            QStringLiteral("GetPrinter failed.  Last error=%1")
                .arg(reset ? reset->error : timedOut()));
        return;
    }
    Log(this, "resetPrinter", LogInfo,
        QStringLiteral(
            "Calling SetPrinter to overwrite the per-user defaults with global defaults"));
    if (reset->step == CupsSpooler::ResetStep::Done)
        Log(this, "resetPrinter", LogVerbose, QStringLiteral("SetPrinter succeeded"));
    else
        Log(this, "resetPrinter", LogWarning,
            QStringLiteral("SetPrinter failed.  Last error=%1").arg(reset->error));
}
