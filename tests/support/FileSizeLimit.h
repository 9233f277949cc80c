#pragma once

#include <csignal>
#include <sys/resource.h>

// While it lives, every write of this process to a regular file beyond `bytes` fails with
// EFBIG, as on a full disk. It makes a save fail half-way even when the tests run as root,
// where permissions cannot. Keep its scope to the one call under test: the test's own
// output to a file would fail too.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
        : m_previousHandler(std::signal(SIGXFSZ, SIG_IGN))
    {
        getrlimit(RLIMIT_FSIZE, &m_previous);
        rlimit limited = m_previous;
        limited.rlim_cur = bytes;
        m_active = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    bool isActive() const { return m_active; }

private:
    void (*m_previousHandler)(int);
    rlimit m_previous{};
    bool m_active = false;
};
