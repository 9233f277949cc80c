#pragma once

#include "core/LogEvent.h"

#include <QString>

namespace UtilsLib {

// The class name that every event of one class carries as its source and as the first half of
// its origin ("Class::operation"), so that a log call names only the object and the operation.
// One constant per source file; the origin is built only when the event has a receiver.
class LogSource
{
public:
    explicit LogSource(QString className)
        : m_className(std::move(className))
    {}

    const QString &className() const { return m_className; }
    QString origin(const char *operation) const
    {
        return m_className + QLatin1String("::") + QLatin1String(operation);
    }

    void operator()(const Observable *self, const char *operation, LogKind kind,
                    const QString &text) const
    {
        if (receives(self))
            logEvent(self, m_className, origin(operation), kind, text);
    }

    template <typename TextMaker>
    requires std::invocable<TextMaker &> &&
        std::convertible_to<std::invoke_result_t<TextMaker &>, QString>
    void operator()(const Observable *self, const char *operation, LogKind kind,
                    TextMaker &&makeText) const
    {
        if (receives(self))
            logEvent(self, m_className, origin(operation), kind, QString(makeText()));
    }

    // "Enter: <origin>" now and "Exit: <origin>" when the returned scope ends.
    [[nodiscard]] TraceScope trace(const Observable *self, const char *operation) const
    {
        return receives(self) ? TraceScope(self, m_className, origin(operation))
                              : TraceScope(nullptr, QString(), QString());
    }

private:
    static bool receives(const Observable *self) { return self && self->hasObservers(); }

    QString m_className;
};

} // namespace UtilsLib
