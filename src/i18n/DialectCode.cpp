#include "i18n/DialectCode.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {
const int MaximumLength = 16;
}

bool DialectCode::isPlain(const QString &code)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9]+(_[A-Za-z0-9]+)?$"));
    return code.size() <= MaximumLength && plain.match(code).hasMatch();
}

QString DialectCode::existingFile(const QString &folder, const QString &code, const QString &suffix)
{
    if (!isPlain(code))
        return QString();
    for (const QString &name : {code, code.toLower()}) {
        const QString path = folder + u'/' + name + suffix;
        if (QFileInfo(path).isFile())
            return path;
    }
    return QString();
}
