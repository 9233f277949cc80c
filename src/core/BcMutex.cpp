#include "core/BcMutex.h"

namespace Brindlecore::Core {

BcMutex::BcMutex(bool recursive)
    : m_recursive(recursive)
{
    if (recursive)
        m_mutex.emplace<QRecursiveMutex>();
}

BcMutex::BcMutex(const BcMutex &other)
    : BcMutex(other.m_recursive)
{}

BcMutex &BcMutex::operator=(const BcMutex &other)
{
    // The lock state is never copied; only the kind matters, and it may change here only
    // while nobody holds this mutex.
    if (this != &other && m_recursive != other.m_recursive) {
        m_recursive = other.m_recursive;
        if (m_recursive)
            m_mutex.emplace<QRecursiveMutex>();
        else
            m_mutex.emplace<QMutex>();
    }
    return *this;
}

void BcMutex::lock()
{
    std::visit([](auto &mutex) { mutex.lock(); }, m_mutex);
}

bool BcMutex::tryLock(int timeoutMs)
{
    return std::visit([timeoutMs](auto &mutex) { return mutex.tryLock(timeoutMs); }, m_mutex);
}

void BcMutex::unlock()
{
    std::visit([](auto &mutex) { mutex.unlock(); }, m_mutex);
}

} // namespace Brindlecore::Core
