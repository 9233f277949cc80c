#include "protocol/PrintJobReq.h"

#include "protocol/MessageIds.h"

namespace Brindlecore::Core {

PrintJobReq::PrintJobReq(const QString &locale)
    : m_locale(locale)
{}

QString PrintJobReq::formatBody() const
{
    return QLatin1String("|A") + m_workstationDescription + QLatin1String("|B") + m_locale;
}

bool PrintJobReq::parse(const QString &text)
{
    const QStringList fields = splitFields(text);
    if (fields.size() < 3)
        return false;
    // The field starts with its tag letter; the locale is never read back.
    m_workstationDescription = fields.at(2).mid(1);
    return true;
}

int PrintJobReq::messageId() const
{
    return MessageIds::PrintJobReq;
}

} // namespace Brindlecore::Core
