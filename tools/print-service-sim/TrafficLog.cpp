#include "TrafficLog.h"

#include <QDateTime>
#include <QFileDevice>
#include <QIODevice>

TrafficLog::TrafficLog(QIODevice *device)
    : m_device(device)
{}

void TrafficLog::received(int connection, const QString &text)
{
    write(connection, '<', escaped(text));
}

void TrafficLog::sent(int connection, const QString &text)
{
    write(connection, '>', escaped(text));
}

void TrafficLog::event(int connection, const QString &what)
{
    write(connection, '*', what);
}

QString TrafficLog::escaped(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('\\'))
            result += QLatin1String("\\\\");
        else if (c == QLatin1Char('\n'))
            result += QLatin1String("\\n");
        else if (c == QLatin1Char('\r'))
            result += QLatin1String("\\r");
        else if (c == QLatin1Char('\t'))
            result += QLatin1String("\\t");
        else if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            result += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            result += c;
    }
    return result;
}

void TrafficLog::write(int connection, char direction, const QString &text)
{
    const QString stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddThh:mm:ss.zzz"));
    const QString who =
        connection > 0 ? QStringLiteral("#%1").arg(connection) : QStringLiteral("-");
    m_device->write(QStringLiteral("%1 %2 %3 %4\n")
                        .arg(stamp, who, QString(QLatin1Char(direction)), text)
                        .toUtf8());
    // Readers (a test, an administrator's tail -f) see each line as it happens.
    if (auto *file = qobject_cast<QFileDevice *>(m_device))
        file->flush();
}
