#pragma once

#include <QString>

#include <map>

namespace Brindlecore::Core {
class Message;
}

// Answers an incoming text with the reply of the prototype message registered for its id.
// The prototypes are not owned; they live as long as the dispatcher.
class OpcMessageDispatcherInterface
{
public:
    virtual ~OpcMessageDispatcherInterface() = default;
    virtual QString dispatch(const QString &source, const QString &text) = 0;

    // Each id is registered once: a second registration of an id, or a null prototype, is
    // ignored and false returned.
    bool registerMessage(qint32 id, Brindlecore::Core::Message *prototype);

protected:
    // The prototype registered for the id, or null.
    Brindlecore::Core::Message *prototype(qint32 id) const;

private:
    std::map<qint32, Brindlecore::Core::Message *> m_prototypes;
};
