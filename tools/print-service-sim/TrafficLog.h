#pragma once

#include <QString>

class QIODevice;

// Writes what the simulator sees, one line per event with a time stamp, to a file or to
// standard output: "<time> #<connection> < <text>" for a received text, ">" for a sent
// one and "*" for connection events. Control characters are escaped, so one text is always
// one line.
class TrafficLog
{
public:
    // The device is not owned and must be open for writing.
    explicit TrafficLog(QIODevice *device);

    void received(int connection, const QString &text);
    void sent(int connection, const QString &text);
    // Connection 0 stands for the listening side.
    void event(int connection, const QString &what);

    static QString escaped(const QString &text);

private:
    void write(int connection, char direction, const QString &text);

    QIODevice *m_device;
};
