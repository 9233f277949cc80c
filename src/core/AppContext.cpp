#include "core/AppContext.h"

#include <mutex>

namespace Brindlecore::Core {

AppContext &AppContext::instance()
{
    static AppContext context;
    return context;
}

AppContext::~AppContext() = default;

void AppContext::addEntry(std::unique_ptr<AppContextEntryInterface> entry)
{
    if (!entry)
        return;
    const QString name = entry->entryName();
    std::unique_ptr<AppContextEntryInterface> replaced;
    {
        std::lock_guard<BcMutex> guard(m_mutex);
        auto &slot = m_entries[name];
        replaced = std::move(slot);
        slot = std::move(entry);
    }
    // The old entry is destroyed outside the lock: its destructor may use the context.
}

AppContextEntryInterface *AppContext::findEntry(const QString &name) const
{
    std::lock_guard<BcMutex> guard(m_mutex);
    const auto it = m_entries.find(name);
    return it == m_entries.end() ? nullptr : it->second.get();
}

std::unique_ptr<AppContextEntryInterface> AppContext::takeEntry(const QString &name)
{
    std::lock_guard<BcMutex> guard(m_mutex);
    const auto it = m_entries.find(name);
    if (it == m_entries.end())
        return nullptr;
    std::unique_ptr<AppContextEntryInterface> entry = std::move(it->second);
    m_entries.erase(it);
    return entry;
}

} // namespace Brindlecore::Core
