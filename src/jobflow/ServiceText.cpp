#include "jobflow/ServiceText.h"

namespace ServiceText {

QString escaped(const QString &text)
{
    return text.toHtmlEscaped().replace(QLatin1Char('\n'), QLatin1String("<br>"));
}

QString rich(const QString &html)
{
    return QLatin1String("<qt>") + html + QLatin1String("</qt>");
}

} // namespace ServiceText
