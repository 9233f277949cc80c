#include "protocol/OpcMessageDispatcherInterface.h"

bool OpcMessageDispatcherInterface::registerMessage(qint32 id,
                                                    Brindlecore::Core::Message *prototype)
{
    if (!prototype)
        return false;
    return m_prototypes.emplace(id, prototype).second;
}

Brindlecore::Core::Message *OpcMessageDispatcherInterface::prototype(qint32 id) const
{
    const auto found = m_prototypes.find(id);
    return found == m_prototypes.end() ? nullptr : found->second;
}
