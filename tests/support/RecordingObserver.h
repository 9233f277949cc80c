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
    void notify(const UtilsLib::ObservableEvent &event) override;

    QList<UtilsLib::ObservableEvent> events() const;
    // The texts of the events of one type ("Info", "Trace", ...), in order.
    QStringList texts(const QString &type = QString()) const;
    bool contains(const QString &type, const QString &text) const;
    int count(const QString &text) const;
    void clear();

private:
    mutable QMutex m_mutex;
    QList<UtilsLib::ObservableEvent> m_events;
};
