#pragma once

#include <QString>

namespace UtilsLib {

class Observable;

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
