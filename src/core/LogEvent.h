#pragma once

#include "core/Observable.h"

#include <QString>

#include <concepts>

namespace UtilsLib {

// The type texts and level numbers every log event uses; the logger maps the level to a
// log4cpp priority and uses the type as category name.
struct LogKind
{
    const char *type;
    int level;
};

inline constexpr LogKind LogError{"Error", 1};
inline constexpr LogKind LogApplication{"Application", 1};
inline constexpr LogKind LogWarning{"Warning", 2};
inline constexpr LogKind LogInfo{"Info", 6};
inline constexpr LogKind LogVerbose{"Verbose", 9};
inline constexpr LogKind LogTrace{"Trace", 9};

// Builds one event and hands it to every observer of the observable; a null observable
// or one without observers costs nothing beyond the call.
void logEvent(const Observable *observable, const QString &source, const QString &origin,
              const QString &type, int level, const QString &text);
void logEvent(const Observable *observable, const QString &source, const QString &origin,
              LogKind kind, const QString &text);
// The same, with a text that costs something to build (a wire text masked, a number
// formatted): makeText runs only when the event has a receiver.
template <typename TextMaker>
requires std::invocable<TextMaker &> &&
    std::convertible_to<std::invoke_result_t<TextMaker &>, QString>
void logEvent(const Observable *observable, const QString &source, const QString &origin,
              LogKind kind, TextMaker &&makeText)
{
    if (observable && observable->hasObservers())
        logEvent(observable, source, origin, kind, QString(makeText()));
}

// Writes "Enter: <origin>" when built and "Exit: <origin>" when destroyed (type "Trace",
// level 9), so the developer log shows where each operation starts and ends.
class TraceScope
{
public:
    TraceScope(const Observable *observable, const QString &source, const QString &origin);
    ~TraceScope();

    TraceScope(const TraceScope &) = delete;
    TraceScope &operator=(const TraceScope &) = delete;

private:
    const Observable *m_observable;
    QString m_source;
    QString m_origin;
};

} // namespace UtilsLib
