#include "protocol/FieldList.h"

namespace Brindlecore::Core {

QString encodeFieldList(const QStringList &fields)
{
    QStringList escaped;
    escaped.reserve(fields.size());
    for (QString field : fields) {
        field.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
        field.replace(QLatin1Char(':'), QLatin1String("\\:"));
        escaped.append(field);
    }
    return escaped.join(QLatin1Char(':'));
}

QStringList decodeFieldList(const QString &text)
{
    QStringList fields;
    if (text.isEmpty())
        return fields;

    QString current;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\\')) {
            if (i + 1 >= text.size())
                throw MessageFormatException();
            const QChar next = text.at(++i);
            if (next != QLatin1Char('\\') && next != QLatin1Char(':'))
                throw MessageFormatException();
            current.append(next);
        } else if (c == QLatin1Char(':')) {
            fields.append(current);
            current.clear();
        } else {
            current.append(c);
        }
    }
    fields.append(current);
    return fields;
}

} // namespace Brindlecore::Core
