#pragma once

#include <csignal>
#include <sys/resource.h>

// Runs `call` while every write of this process to a regular file beyond `bytes` fails with
// EFBIG, as on a full disk: a save then fails half-way even as root, where permissions
// cannot make it fail. False, without running `call`, when the limit cannot be set.
template <typename Call>
bool withFileSizeLimit(rlim_t bytes, Call call)
{
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit limited = previous;
    limited.rlim_cur = bytes;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    const bool active = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    if (active)
        call();
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    return active;
}
