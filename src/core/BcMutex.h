#pragma once

#include <QMutex>
#include <QRecursiveMutex>

#include <variant>

namespace Brindlecore::Core {

// A mutex that knows whether it is recursive. Copying one yields a new, unlocked mutex of
// the same kind, so classes that hold one stay copyable.
class BcMutex
{
public:
    explicit BcMutex(bool recursive = false);
    BcMutex(const BcMutex &other);
    BcMutex &operator=(const BcMutex &other);

    void lock();
    bool tryLock(int timeoutMs = 0);
    void unlock();
    bool isRecursive() const { return m_recursive; }

private:
    bool m_recursive;
    std::variant<QMutex, QRecursiveMutex> m_mutex;
};

} // namespace Brindlecore::Core
