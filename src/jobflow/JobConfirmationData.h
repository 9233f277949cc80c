#pragma once

#include <QList>
#include <QPair>
#include <QString>

// What the "Print Complete" dialog shows of a confirmed job.
struct JobConfirmationData
{
    qint32 jobNumber = -1;
    // ISO 8601 as the Print Service sends it.
    QString expireTime;
    // (release terminal, location), in the Print Service's order.
    QList<QPair<QString, QString>> pickupList;
};
