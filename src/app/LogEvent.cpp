#include "app/LogEvent.h"

#include "app/Observable.h"
#include "app/ObservableEvent.h"

namespace UtilsLib {

void logEvent(const Observable *observable, const QString &source, const QString &origin,
              const QString &type, int level, const QString &text)
{
    if (!observable || !observable->hasObservers())
        return;
    observable->notifyObservers(
        ObservableEvent(type, source, text, static_cast<qint16>(level), origin));
}

void logEvent(const Observable *observable, const QString &source, const QString &origin,
              LogKind kind, const QString &text)
{
    if (!observable || !observable->hasObservers())
        return;
    logEvent(observable, source, origin, QString::fromLatin1(kind.type), kind.level, text);
}

TraceScope::TraceScope(const Observable *observable, const QString &source, const QString &origin)
    : m_observable(observable && observable->hasObservers() ? observable : nullptr)
{
    if (!m_observable)
        return;
    m_source = source;
    m_origin = origin;
    logEvent(m_observable, m_source, m_origin, LogTrace, QStringLiteral("Enter: %1").arg(m_origin));
}

TraceScope::~TraceScope()
{
    if (m_observable)
        logEvent(m_observable, m_source, m_origin, LogTrace,
                 QStringLiteral("Exit: %1").arg(m_origin));
}

} // namespace UtilsLib
