#pragma once

#include <QDateTime>
#include <QString>

namespace UtilsLib {

// One log event: what happened, where ("Class::method") and how important it is.
class ObservableEvent
{
public:
    ObservableEvent();
    // The origin is split at its last "::"; without one (or with it at position 0) the
    // whole origin is the method name.
    ObservableEvent(const QString &type, const QString &source, const QString &text, qint16 level,
                    const QString &origin);
    virtual ~ObservableEvent() = default;

    ObservableEvent(const ObservableEvent &) = default;
    ObservableEvent &operator=(const ObservableEvent &) = default;

    // The local time the event was built. Building reads only the system clock; the
    // conversion to local time, which consults the time zone, is left to readers.
    QDateTime time() const { return QDateTime::fromMSecsSinceEpoch(m_msecsSinceEpoch); }
    const QString &type() const { return m_type; }
    const QString &source() const { return m_source; }
    const QString &text() const { return m_text; }
    qint16 level() const { return m_level; }
    const QString &className() const { return m_className; }
    const QString &methodName() const { return m_methodName; }

private:
    qint64 m_msecsSinceEpoch;
    QString m_type;
    QString m_source;
    QString m_text;
    qint16 m_level = 0;
    QString m_className;
    QString m_methodName;
};

} // namespace UtilsLib
