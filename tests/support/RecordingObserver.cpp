#include "RecordingObserver.h"

void RecordingObserver::notify(const UtilsLib::ObservableEvent &event)
{
    QMutexLocker locker(&m_mutex);
    m_events.append(event);
}

QList<UtilsLib::ObservableEvent> RecordingObserver::events() const
{
    QMutexLocker locker(&m_mutex);
    return m_events;
}

QStringList RecordingObserver::texts(const QString &type) const
{
    QMutexLocker locker(&m_mutex);
    QStringList result;
    for (const auto &event : m_events) {
        if (type.isEmpty() || event.type() == type)
            result.append(event.text());
    }
    return result;
}

bool RecordingObserver::contains(const QString &type, const QString &text) const
{
    return texts(type).contains(text);
}

int RecordingObserver::count(const QString &text) const
{
    return texts().count(text);
}

void RecordingObserver::clear()
{
    QMutexLocker locker(&m_mutex);
    m_events.clear();
}
