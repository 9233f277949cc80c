#pragma once

#include <QObject>
#include <QString>

class QIODevice;

// Downloads one resource over HTTP while the caller waits. The base answers false to
// everything, so a test can override only what it uses.
class BcHttpInterface : public QObject
{
    Q_OBJECT

public:
    explicit BcHttpInterface(QObject *parent = nullptr)
        : QObject(parent)
    {}

    // Fetches the address into target and closes target; true only when the whole body
    // arrived with a success status before the time-out. A failed download may leave part of
    // a body in target: the caller discards it.
    virtual bool get(const QString &address, QIODevice *target)
    {
        Q_UNUSED(address);
        Q_UNUSED(target);
        return false;
    }
    // Milliseconds a get may take from now on; 0 or less means no limit. True when taken.
    virtual bool setTimeout(int ms)
    {
        Q_UNUSED(ms);
        return false;
    }
};
