#pragma once

#include "core/AppContextEntryInterface.h"
#include "core/BcMutex.h"

#include <QString>

#include <map>
#include <memory>

namespace Brindlecore::Core {

// The process-wide registry of named services ("observerManager", "timeSource"). It owns
// its entries; it may be used from any thread.
class AppContext
{
public:
    static AppContext &instance();

    // Stores the entry under its entryName(); an entry already registered under that name
    // is destroyed. A null entry is ignored.
    void addEntry(std::unique_ptr<AppContextEntryInterface> entry);
    // The entry, still owned by the context, or null.
    AppContextEntryInterface *findEntry(const QString &name) const;
    // Removes the entry and hands it to the caller without destroying it; null when absent.
    std::unique_ptr<AppContextEntryInterface> takeEntry(const QString &name);

    template <class T>
    T *findEntryAs(const QString &name) const
    {
        return dynamic_cast<T *>(findEntry(name));
    }

    AppContext() = default;
    ~AppContext();
    AppContext(const AppContext &) = delete;
    AppContext &operator=(const AppContext &) = delete;

private:
    mutable BcMutex m_mutex;
    std::map<QString, std::unique_ptr<AppContextEntryInterface>> m_entries;
};

} // namespace Brindlecore::Core
