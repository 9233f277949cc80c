#pragma once

#include "core/ObservableEvent.h"
#include "core/Observer.h"

#include <QList>
#include <QMutex>
#include <QStringList>

// Keeps every event it receives so tests can check exact log texts, types and levels.
class RecordingObserver : public UtilsLib::Observer
{
public:
    void notify(const UtilsLib::ObservableEvent &event) override
    {
        QMutexLocker locker(&m_mutex);
        m_events.append(event);
    }

    QList<UtilsLib::ObservableEvent> events() const
    {
        QMutexLocker locker(&m_mutex);
        return m_events;
    }
    // The texts of the events of one type ("Info", "Trace", ...), in order.
    QStringList texts(const QString &type = QString()) const
    {
        QStringList result;
        for (const auto &event : events()) {
            if (type.isEmpty() || event.type() == type)
                result.append(event.text());
        }
        return result;
    }
    bool contains(const QString &type, const QString &text) const
    {
        return texts(type).contains(text);
    }
    int count(const QString &text) const { return texts().count(text); }
    void clear()
    {
        QMutexLocker locker(&m_mutex);
        m_events.clear();
    }

private:
    mutable QMutex m_mutex;
    QList<UtilsLib::ObservableEvent> m_events;
};
