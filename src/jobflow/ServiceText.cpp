#include "jobflow/ServiceText.h"

#include <QRegularExpression>

namespace ServiceText {

namespace {
// Far beyond any real amount, and short enough that a dialog showing one still fits a screen.
constexpr qsizetype MaxAmountLength = 40;
} // namespace

QString shortened(const QString &text, qsizetype maxLength)
{
    if (text.size() <= maxLength)
        return text;
    qsizetype kept = maxLength - 1;
    if (text.at(kept - 1).isHighSurrogate())
        --kept;
    return text.left(kept) + QChar(0x2026);
}

QString escaped(const QString &text)
{
    return text.toHtmlEscaped().replace(QLatin1Char('\n'), QLatin1String("<br>"));
}

QString rich(const QString &html)
{
    return QLatin1String("<qt>") + html + QLatin1String("</qt>");
}

QString plainAmount(const QString &amount)
{
    static const QRegularExpression sign(QStringLiteral("<html>&#(\\d{2,4});</html>"));
    QString plain;
    qsizetype from = 0;
    for (auto it = sign.globalMatch(amount); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const uint code = match.captured(1).toUInt();
        plain += amount.mid(from, match.capturedStart() - from);
        // Only a printable character stands for itself; anything else stays as sent.
        const QChar character(code);
        plain += code > 0x20 && code < 0xFFFF && character.isPrint() ? QString(character)
                                                                     : match.captured();
        from = match.capturedEnd();
    }
    return shortened(plain + amount.mid(from), MaxAmountLength);
}

} // namespace ServiceText
