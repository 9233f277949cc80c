#include "printers/CupsSpooler.h"

#include <QByteArray>
#include <QPrinterInfo>
#include <QStringList>
#include <QUrl>

#include <cups/cups.h>

#include <algorithm>
#include <mutex>

namespace {

using Clock = std::chrono::steady_clock;

// How long one wait for the peer may last before the deadline is checked again.
constexpr double WaitSliceSeconds = 0.25;

// Reading and rewriting lpoptions must not interleave, and the toolkit's printer support is
// created lazily without a lock; every such call goes through this lock. It is never destroyed,
// so a call still running while the program exits cannot meet a destroyed mutex.
std::timed_mutex &destinationsLock()
{
    static auto *lock = new std::timed_mutex;
    return *lock;
}

const char *refusePassword(const char *, http_t *, const char *, const char *, void *)
{
    return nullptr;
}

int waitUntilDeadline(http_t *, void *deadline)
{
    return Clock::now() < *static_cast<const CupsSpooler::Deadline *>(deadline) ? 1 : 0;
}

QString timedOutText()
{
    return QStringLiteral("Timed out waiting for the print spooler");
}

// The text CUPS gives for its last error, or the status name when it gives none.
QString lastErrorText(CupsSpooler::Deadline deadline)
{
    if (Clock::now() >= deadline)
        return timedOutText();
    const char *text = cupsLastErrorString();
    if (text && *text)
        return QString::fromUtf8(text);
    return QString::fromUtf8(ippErrorString(cupsLastError()));
}

bool failed(ipp_status_t status)
{
    return status > IPP_STATUS_OK_CONFLICTING;
}

// One connection that gives up at the deadline: the connect, and every later wait for the peer.
class Connection
{
public:
    Connection(const char *host, int port, http_encryption_t encryption,
               CupsSpooler::Deadline deadline)
        : m_deadline(deadline)
    {
        // Each worker thread has its own libcups state; this one must never ask for a password.
        cupsSetPasswordCB2(refusePassword, nullptr);
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            m_error = timedOutText();
            return;
        }
        m_http = httpConnect2(host, port, nullptr, AF_UNSPEC, encryption, 1,
                              static_cast<int>(left.count()), nullptr);
        if (!m_http) {
            QString server = QString::fromUtf8(host);
            if (!server.startsWith(u'/'))
                server += u':' + QString::number(port);
            m_error =
                QStringLiteral("Unable to connect to %1: %2").arg(server, lastErrorText(deadline));
            return;
        }
        httpSetTimeout(m_http, WaitSliceSeconds, waitUntilDeadline, &m_deadline);
    }

    // Returned as a temporary, so it is never moved: the callback holds the deadline's address.
    static Connection toScheduler(CupsSpooler::Deadline deadline)
    {
        return Connection(cupsServer(), ippPort(), cupsEncryption(), deadline);
    }

    ~Connection()
    {
        if (m_http)
            httpClose(m_http);
    }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    http_t *http() const { return m_http; }
    const QString &error() const { return m_error; }

private:
    CupsSpooler::Deadline m_deadline; // read by the timeout callback
    http_t *m_http = nullptr;
    QString m_error;
};

// Runs work with the user's destinations locked and a connection to the scheduler, both taken by
// the deadline; when either cannot be had, error says why and work does not run.
template <typename Work>
void withDestinations(CupsSpooler::Deadline deadline, QString &error, Work work)
{
    std::unique_lock<std::timed_mutex> lock(destinationsLock(), std::defer_lock);
    if (!lock.try_lock_until(deadline)) {
        error = timedOutText();
        return;
    }
    const Connection connection = Connection::toScheduler(deadline);
    if (!connection.http()) {
        error = connection.error();
        return;
    }
    work(connection.http());
}

QString localPrinterUri(const QString &queueName)
{
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0,
                     "/printers/%s", queueName.toUtf8().constData());
    return QString::fromUtf8(uri);
}

QString optionText(const cups_dest_t &dest, const char *name)
{
    return QString::fromUtf8(cupsGetOption(name, dest.num_options, dest.options));
}

// The user's destinations as libcups merges them from the scheduler and lpoptions; a scheduler
// without any queue is an empty list, not a failure.
struct Destinations
{
    explicit Destinations(http_t *http, CupsSpooler::Deadline deadline)
    {
        count = cupsGetDests2(http, &dests);
        const ipp_status_t status = cupsLastError();
        ok = count > 0 || !failed(status) || status == IPP_STATUS_ERROR_NOT_FOUND;
        if (!ok)
            error = lastErrorText(deadline);
    }
    ~Destinations() { cupsFreeDests(count, dests); }
    Destinations(const Destinations &) = delete;
    Destinations &operator=(const Destinations &) = delete;

    cups_dest_t *find(const QString &queueName) const
    {
        return cupsGetDest(queueName.toUtf8().constData(), nullptr, count, dests);
    }

    cups_dest_t *dests = nullptr;
    int count = 0;
    bool ok = false;
    QString error;
};

CupsSpooler::QueueAttributes queueAttributes(http_t *http, const QString &printerUri,
                                             const char *resource, CupsSpooler::Deadline deadline)
{
    static const char *const wanted[] = {"printer-info", "device-uri", "printer-location"};
    ipp_t *request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
                 printerUri.toUtf8().constData());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  static_cast<int>(std::size(wanted)), nullptr, wanted);
    ipp_t *response = cupsDoRequest(http, request, resource);

    CupsSpooler::QueueAttributes attributes;
    const ipp_status_t status = cupsLastError();
    if (status == IPP_STATUS_ERROR_NOT_FOUND) {
        attributes.ok = true;
        attributes.error = lastErrorText(deadline);
    } else if (!response || failed(status)) {
        attributes.error = lastErrorText(deadline);
    } else {
        attributes.ok = true;
        attributes.found = true;
        if (ipp_attribute_t *info = ippFindAttribute(response, "printer-info", IPP_TAG_TEXT))
            attributes.info = QString::fromUtf8(ippGetString(info, 0, nullptr));
        if (ipp_attribute_t *device = ippFindAttribute(response, "device-uri", IPP_TAG_URI))
            attributes.deviceUri = QString::fromUtf8(ippGetString(device, 0, nullptr));
        if (ipp_attribute_t *location =
                ippFindAttribute(response, "printer-location", IPP_TAG_TEXT))
            attributes.location = QString::fromUtf8(ippGetString(location, 0, nullptr));
    }
    ippDelete(response);
    return attributes;
}

CupsSpooler::Outcome administer(ipp_t *request, CupsSpooler::Deadline deadline)
{
    CupsSpooler::Outcome outcome;
    const Connection connection = Connection::toScheduler(deadline);
    if (!connection.http()) {
        ippDelete(request);
        outcome.error = connection.error();
        return outcome;
    }
    ippDelete(cupsDoRequest(connection.http(), request, "/admin/"));
    outcome.ok = !failed(cupsLastError());
    if (!outcome.ok)
        outcome.error = lastErrorText(deadline);
    return outcome;
}

ipp_t *adminRequest(ipp_op_t operation, const QString &queueName)
{
    ipp_t *request = ippNewRequest(operation);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
                 localPrinterUri(queueName).toUtf8().constData());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    return request;
}

} // namespace

QString CupsSpooler::Queue::server() const
{
    static const QStringList networkSchemes{"ipp", "ipps", "http", "https", "socket", "lpd"};
    const QUrl device(deviceUri);
    if (networkSchemes.contains(device.scheme().toLower()) && !device.host().isEmpty())
        return device.host();
    const QString host = QUrl(printerUri).host();
    if (host.isEmpty() || host.startsWith(u'/') ||
        host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return QString();
    return host;
}

CupsSpooler::Listing CupsSpooler::listQueues(Deadline deadline)
{
    Listing listing;
    withDestinations(deadline, listing.error, [&](http_t *http) {
        const Destinations destinations(http, deadline);
        listing.ok = destinations.ok;
        listing.error = destinations.error;
        for (int i = 0; listing.ok && i < destinations.count; ++i) {
            const cups_dest_t &dest = destinations.dests[i];
            if (dest.instance)
                continue; // a user's named set of options, not a queue of its own
            Queue queue;
            queue.name = QString::fromUtf8(dest.name);
            queue.info = optionText(dest, "printer-info");
            queue.deviceUri = optionText(dest, "device-uri");
            queue.printerUri = optionText(dest, "printer-uri-supported");
            queue.isDefault = dest.is_default != 0;
            listing.queues.append(queue);
        }
    });
    return listing;
}

CupsSpooler::QueueAttributes CupsSpooler::remoteQueue(const QString &printerUri, Deadline deadline)
{
    char scheme[32], user[256], host[HTTP_MAX_HOST], resource[HTTP_MAX_URI];
    int port = 0;
    if (httpSeparateURI(HTTP_URI_CODING_ALL, printerUri.toUtf8().constData(), scheme, sizeof scheme,
                        user, sizeof user, host, sizeof host, &port, resource,
                        sizeof resource) < HTTP_URI_STATUS_OK) {
        QueueAttributes attributes;
        attributes.error = QStringLiteral("Bad printer address %1").arg(printerUri);
        return attributes;
    }
    const bool secure = qstrcmp(scheme, "ipps") == 0;
    const Connection connection(
        host, port, secure ? HTTP_ENCRYPTION_ALWAYS : HTTP_ENCRYPTION_IF_REQUESTED, deadline);
    if (!connection.http()) {
        QueueAttributes attributes;
        attributes.error = connection.error();
        return attributes;
    }
    return queueAttributes(connection.http(), printerUri, resource, deadline);
}

CupsSpooler::QueueAttributes CupsSpooler::localQueue(const QString &queueName, Deadline deadline)
{
    const Connection connection = Connection::toScheduler(deadline);
    if (!connection.http()) {
        QueueAttributes attributes;
        attributes.error = connection.error();
        return attributes;
    }
    return queueAttributes(connection.http(), localPrinterUri(queueName), "/", deadline);
}

CupsSpooler::Outcome CupsSpooler::addQueue(const QString &queueName, const QString &deviceUri,
                                           const QString &info, const QString &location,
                                           Deadline deadline)
{
    ipp_t *request = adminRequest(IPP_OP_CUPS_ADD_MODIFY_PRINTER, queueName);
    ippAddString(request, IPP_TAG_PRINTER, IPP_TAG_URI, "device-uri", nullptr,
                 deviceUri.toUtf8().constData());
    ippAddString(request, IPP_TAG_PRINTER, IPP_TAG_NAME, "ppd-name", nullptr, "everywhere");
    ippAddString(request, IPP_TAG_PRINTER, IPP_TAG_TEXT, "printer-info", nullptr,
                 info.toUtf8().constData());
    ippAddString(request, IPP_TAG_PRINTER, IPP_TAG_TEXT, "printer-location", nullptr,
                 location.toUtf8().constData());
    ippAddBoolean(request, IPP_TAG_PRINTER, "printer-is-accepting-jobs", 1);
    ippAddBoolean(request, IPP_TAG_PRINTER, "printer-is-shared", 0);
    ippAddInteger(request, IPP_TAG_PRINTER, IPP_TAG_ENUM, "printer-state", IPP_PSTATE_IDLE);
    return administer(request, deadline);
}

CupsSpooler::Outcome CupsSpooler::deleteQueue(const QString &queueName, Deadline deadline)
{
    return administer(adminRequest(IPP_OP_CUPS_DELETE_PRINTER, queueName), deadline);
}

CupsSpooler::Outcome CupsSpooler::setUserDefault(const QString &queueName, Deadline deadline)
{
    Outcome outcome;
    withDestinations(deadline, outcome.error, [&](http_t *http) {
        const Destinations destinations(http, deadline);
        cups_dest_t *dest = destinations.ok ? destinations.find(queueName) : nullptr;
        if (!dest) {
            outcome.error = destinations.ok ? QStringLiteral("The printer or class does not exist.")
                                            : destinations.error;
            return;
        }
        for (int i = 0; i < destinations.count; ++i)
            destinations.dests[i].is_default = 0;
        dest->is_default = 1;
        outcome.ok = cupsSetDests2(http, destinations.count, destinations.dests) == 0;
        if (!outcome.ok)
            outcome.error = lastErrorText(deadline);
    });
    return outcome;
}

CupsSpooler::ResetOutcome CupsSpooler::resetUserOptions(const QString &queueName, Deadline deadline)
{
    ResetOutcome outcome;
    withDestinations(deadline, outcome.error, [&](http_t *http) {
        cups_dest_t *dests = nullptr;
        int count = cupsGetDests2(http, &dests);
        const ipp_status_t status = cupsLastError();
        if (count == 0 && failed(status) && status != IPP_STATUS_ERROR_NOT_FOUND) {
            outcome.error = lastErrorText(deadline);
            return;
        }
        const QByteArray name = queueName.toUtf8();
        const cups_dest_t *dest = cupsGetDest(name.constData(), nullptr, count, dests);
        if (!dest) {
            cupsFreeDests(count, dests);
            outcome.error = QStringLiteral("The printer or class does not exist.");
            return;
        }
        // Removing and adding the queue again drops the user's overrides; the default is kept.
        const int wasDefault = dest->is_default;
        count = cupsRemoveDest(name.constData(), nullptr, count, &dests);
        count = cupsAddDest(name.constData(), nullptr, count, &dests);
        if (cups_dest_t *fresh = cupsGetDest(name.constData(), nullptr, count, dests))
            fresh->is_default = wasDefault;
        const bool written = cupsSetDests2(http, count, dests) == 0;
        cupsFreeDests(count, dests);
        outcome.step = written ? ResetStep::Done : ResetStep::WriteFailed;
        if (!written)
            outcome.error = lastErrorText(deadline);
    });
    return outcome;
}

std::optional<QString> CupsSpooler::toolkitDefaultPrinter(Deadline deadline)
{
    std::unique_lock<std::timed_mutex> lock(destinationsLock(), std::defer_lock);
    if (!lock.try_lock_until(deadline))
        return std::nullopt;
    cupsSetPasswordCB2(refusePassword, nullptr);
    return QPrinterInfo::defaultPrinterName();
}
