#pragma once

#include "SpawnedProcess.h"
#include "nulpeer.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class ClientHarness;

// One run of the real ondtpc with the benchmark playing its Print Service, in the private
// world of a client harness: logs of its own, optionally an administrator's preferences file
// that turns logging off, a listening socket on the harness's address, and the connection the
// client opens. The peer side is plain blocking sockets, the same code that drives the C echo
// floor.
class ClientSession
{
public:
    struct FloodResult
    {
        long answered = 0;
        double seconds = 0;
        long peakRssKb = 0; // largest VmRSS seen while the flood ran
        long hwmKb = 0;     // VmHWM after the flood
        long rssBeforeKb = 0;
    };

    // The harness's virtual printer must name address; one session at a time per harness.
    ClientSession(ClientHarness &harness, const QString &address, bool logging);
    ~ClientSession();

    // Starts the client and waits for its registration; false with errorText().
    bool start();
    QString errorText() const { return m_error; }
    pid_t pid() const { return m_client.pid(); }
    // From just before exec to the whole registration text read by the peer.
    double startupMs() const { return m_startupMs; }
    QString registration() const { return m_registration; }

    // Sends text and checks each reply against expected; the untimed warm-up comes first.
    // cpuNs, when given, receives the client's CPU time (all its threads) over the timed ones.
    bool roundTrips(const char *text, const char *expected, long count, long warmup,
                    std::vector<std::uint64_t> &latencies, std::uint64_t *cpuNs = nullptr);
    // Sends one text and reads its reply into reply; false with errorText() when none came.
    bool exchange(const char *text, QByteArray &reply);
    // Sends count texts without waiting and checks every reply, in order.
    bool flood(long count, FloodResult &result);
    // An orderly stop (SIGTERM); false when the client did not end by itself with status 0.
    bool stop();
    QString logFolder() const;
    // The peer's end of the client's connection, for parts that drive it text by text.
    int connection() const { return m_fd; }
    nul_reader *reader() const { return m_reader.get(); }

private:
    ClientHarness &m_harness;
    QString m_address;
    bool m_logging;
    SpawnedProcess m_client;
    int m_listener = -1;
    int m_fd = -1;
    std::unique_ptr<nul_reader> m_reader;
    double m_startupMs = 0;
    QString m_registration;
    QString m_error;
};
