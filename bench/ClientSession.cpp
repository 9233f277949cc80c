#include "ClientSession.h"

#include "ProcessSample.h"

#include "ClientHarness.h"
#include "FileBytes.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr unsigned short PrintServicePort = 21326;
constexpr int TimeoutMs = 20000;

const char *const LoggingOffPreferences = "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n"
                                          "<Settings>\r\n"
                                          "<entry name='Logging: Enabled'>0</entry>\r\n"
                                          "</Settings>\r\n";

QString systemError(const char *what)
{
    return QStringLiteral("%1: %2").arg(QString::fromLatin1(what),
                                        QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

ClientSession::ClientSession(ClientHarness &harness, const QString &address, bool logging)
    : m_harness(harness)
    , m_address(address)
    , m_logging(logging)
    , m_reader(std::make_unique<nul_reader>())
{}

ClientSession::~ClientSession()
{
    if (m_client.running())
        m_client.terminate(5000);
    if (m_fd >= 0)
        ::close(m_fd);
    if (m_listener >= 0)
        ::close(m_listener);
}

QString ClientSession::logFolder() const
{
    return m_harness.logFolder();
}

bool ClientSession::start()
{
    // Each session starts without the logs of the one before.
    const QString preferences = m_harness.configFolder() + QStringLiteral("/ondtpc.xml");
    QFile::remove(preferences);
    if (!QDir(logFolder()).removeRecursively() ||
        (!m_logging && (!QDir().mkpath(m_harness.configFolder()) ||
                        !writeFile(preferences, LoggingOffPreferences)))) {
        m_error = QStringLiteral("cannot prepare the logs and preferences of a session");
        return false;
    }

    m_listener = nul_listen(m_address.toLatin1().constData(), PrintServicePort);
    if (m_listener < 0) {
        m_error = systemError("listen on the Print Service port");
        return false;
    }
    if (!m_client.start(m_harness.clientProgram(), {}, m_harness.clientEnvironment())) {
        m_error = systemError("start the client");
        return false;
    }
    m_fd = nul_accept(m_listener, TimeoutMs);
    if (m_fd < 0) {
        m_error = systemError("wait for the client's connection");
        return false;
    }
    ::close(m_listener);
    m_listener = -1;
    nul_reader_init(m_reader.get(), m_fd);
    char text[4096];
    const long length = nul_read(m_reader.get(), text, sizeof text, TimeoutMs);
    const std::uint64_t registered = nul_now_ns();
    if (length < 0) {
        m_error = systemError("wait for the registration");
        return false;
    }
    m_registration = QString::fromUtf8(text);
    if (!m_registration.startsWith(QLatin1String("register:"))) {
        m_error = QStringLiteral("the first text was not a registration: %1").arg(m_registration);
        return false;
    }
    m_startupMs = double(registered - m_client.startedNs()) / 1e6;
    return true;
}

bool ClientSession::roundTrips(const char *text, const char *expected, long count, long warmup,
                               std::vector<std::uint64_t> &latencies, std::uint64_t *cpuNs)
{
    latencies.assign(std::size_t(std::max(count, warmup)), 0);
    bool ok = nul_round_trips(m_fd, m_reader.get(), text, expected, warmup, latencies.data(),
                              TimeoutMs) == 0;
    // The client waits for the next text once its reply is read, so the CPU time between the
    // two samples is that of the timed round trips.
    const ProcessSample before = cpuNs ? ProcessSample::read(pid()) : ProcessSample();
    ok = ok && nul_round_trips(m_fd, m_reader.get(), text, expected, count, latencies.data(),
                               TimeoutMs) == 0;
    if (!ok) {
        m_error = errno == EPROTO
                      ? QStringLiteral("a reply other than \"%1\"").arg(QString::fromUtf8(expected))
                      : systemError("round trip");
        return false;
    }
    if (cpuNs) {
        const ProcessSample after = ProcessSample::read(pid());
        if (!before.valid || !after.valid) {
            m_error = QStringLiteral("cannot read the client's CPU time");
            return false;
        }
        *cpuNs = ProcessSample::cpuNsBetween(before, after);
    }
    latencies.resize(std::size_t(count));
    return true;
}

bool ClientSession::exchange(const char *text, QByteArray &reply)
{
    char buffer[4096];
    const long length = nul_send(m_fd, text, std::strlen(text)) < 0
                            ? -1
                            : nul_read(m_reader.get(), buffer, sizeof buffer, TimeoutMs);
    if (length < 0) {
        m_error = systemError("exchange");
        return false;
    }
    reply = QByteArray(buffer, std::min<long>(length, sizeof buffer - 1));
    return true;
}

bool ClientSession::flood(long count, FloodResult &result)
{
    // Every text differs, so a reply out of order or lost shows as a mismatch.
    QByteArray texts;
    texts.reserve(count * 16);
    for (long i = 0; i < count; ++i) {
        texts += "99|" + QByteArray::number(qlonglong(i)).rightJustified(10, '0');
        texts += '\0';
    }
    result.rssBeforeKb = ProcessSample::read(pid()).rssKb;

    std::atomic<bool> done{false};
    std::atomic<long> peakRss{result.rssBeforeKb};
    std::thread sampler([&] {
        while (!done.load()) {
            const long rss = ProcessSample::read(pid()).rssKb;
            if (rss > peakRss.load())
                peakRss.store(rss);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    std::atomic<bool> sendFailed{false};
    const std::uint64_t started = nul_now_ns();
    std::thread sender([&] {
        if (nul_send_all(m_fd, texts.constData(), std::size_t(texts.size())) < 0)
            sendFailed.store(true);
    });

    bool ok = true;
    char reply[4096];
    const char *next = texts.constData();
    for (result.answered = 0; result.answered < count; ++result.answered) {
        const long length = nul_read(m_reader.get(), reply, sizeof reply, TimeoutMs);
        const QByteArray expected = "Message Not Handled: " + QByteArray(next);
        next += std::strlen(next) + 1;
        if (length < 0) {
            m_error = systemError("read a reply of the flood");
            ok = false;
            break;
        }
        if (expected != QByteArray(reply, int(length))) {
            m_error = QStringLiteral("reply %1 was \"%2\", expected \"%3\"")
                          .arg(result.answered)
                          .arg(QString::fromUtf8(reply), QString::fromUtf8(expected));
            ok = false;
            break;
        }
    }
    result.seconds = double(nul_now_ns() - started) / 1e9;
    if (!ok)
        ::shutdown(m_fd, SHUT_RDWR); // lets a blocked sender return
    sender.join();
    done.store(true);
    sampler.join();
    result.peakRssKb = std::max(peakRss.load(), ProcessSample::read(pid()).rssKb);
    result.hwmKb = ProcessSample::read(pid()).hwmKb;
    if (ok && sendFailed.load()) {
        m_error = systemError("send the flood");
        ok = false;
    }
    return ok;
}

bool ClientSession::stop()
{
    if (!m_client.terminate(TimeoutMs)) {
        m_error = QStringLiteral("the client did not stop on SIGTERM");
        return false;
    }
    if (m_client.exitCode() != 0) {
        m_error = QStringLiteral("the client ended with status %1").arg(m_client.exitCode());
        return false;
    }
    return true;
}
