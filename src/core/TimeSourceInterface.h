#pragma once

#include <QDateTime>
#include <QString>

namespace Brindlecore::Core {

// The clock of message timestamps. Tests register their own to get fixed wire texts.
class TimeSourceInterface
{
public:
    virtual ~TimeSourceInterface() = default;
    virtual QDateTime currentDateTime() const = 0;

    void setFormat(const QString &format) { m_format = format; }
    const QString &format() const { return m_format; }
    QString timestamp() const { return currentDateTime().toString(m_format); }

private:
    QString m_format = QStringLiteral("yyyyMMddhhmmss");
};

} // namespace Brindlecore::Core
