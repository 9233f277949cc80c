#pragma once

#include "RecordingObserver.h"

#include <QStringList>

// Whole logs as comparable lines "Type level source class::method text"; the source is the class.
struct LogLines
{
    QString source;

    // Without the traces: which call runs inside which is no behaviour to pin.
    static QStringList of(const RecordingObserver &log)
    {
        QStringList lines;
        for (const UtilsLib::ObservableEvent &e : log.events()) {
            if (e.type() != QLatin1String("Trace"))
                lines << QStringLiteral("%1 %2 %3 %4::%5 %6")
                             .arg(e.type(), QString::number(e.level()), e.source(), e.className(),
                                  e.methodName(), e.text());
        }
        return lines;
    }
    QString operator()(const QString &type, int level, const QString &method,
                       const QString &text) const
    {
        return QStringLiteral("%1 %2 %3 %3::%4 %5")
            .arg(type, QString::number(level), source, method, text);
    }
};
