#pragma once

#include <QMap>

#include <cstdint>
#include <sys/types.h>

// What /proc says about a process at one moment: its resident sizes, and per thread the time
// spent on a CPU and the voluntary context switches (each one a wake-up after a wait).
// Differences of two samples give the CPU time and wake-ups of a stretch of time.
struct ProcessSample
{
    long rssKb = 0;
    long hwmKb = 0;
    // Thread id -> nanoseconds on a CPU (schedstat) and voluntary switches (status).
    QMap<pid_t, std::uint64_t> cpuNs;
    QMap<pid_t, std::uint64_t> voluntarySwitches;
    bool valid = false;

    static ProcessSample read(pid_t pid);
    // Sums over the threads of later, counting threads that started in between from zero.
    static std::uint64_t cpuNsBetween(const ProcessSample &earlier, const ProcessSample &later);
    static std::uint64_t switchesBetween(const ProcessSample &earlier, const ProcessSample &later);
};
