#include "core/LogEvent.h"

#include "core/Observable.h"
#include "core/ObservableEvent.h"

namespace UtilsLib {

namespace {

// The type texts of the six kinds are made once, not converted again for every event.
QString typeText(const char *type)
{
    static const QString known[] = {QStringLiteral("Error"),   QStringLiteral("Application"),
                                    QStringLiteral("Warning"), QStringLiteral("Info"),
                                    QStringLiteral("Verbose"), QStringLiteral("Trace")};
    for (const QString &text : known) {
        if (text == QLatin1String(type))
            return text;
    }
    return QString::fromLatin1(type);
}

} // namespace

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
    logEvent(observable, source, origin, typeText(kind.type), kind.level, text);
}

TraceScope::TraceScope(const Observable *observable, const QString &source, const QString &origin)
    : m_observable(observable && observable->hasObservers() ? observable : nullptr)
{
    if (!m_observable)
        return;
    m_source = source;
    m_origin = origin;
    logEvent(m_observable, m_source, m_origin, LogTrace, QStringLiteral("Enter: ") + m_origin);
}

TraceScope::~TraceScope()
{
    if (m_observable)
        logEvent(m_observable, m_source, m_origin, LogTrace, QStringLiteral("Exit: ") + m_origin);
}

} // namespace UtilsLib
