#include "FigureTable.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {

QString number(double value)
{
    if (std::isnan(value))
        return QStringLiteral("-");
    const double magnitude = std::fabs(value);
    return QString::number(value, 'f', magnitude >= 100 ? 0 : magnitude >= 10 ? 1 : 2);
}

QString spread(const QList<double> &values)
{
    if (values.size() < 2)
        return QString();
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    return QStringLiteral(" (%1-%2)").arg(number(*low), number(*high));
}

} // namespace

double FigureTable::median(QList<double> values)
{
    if (values.isEmpty())
        return NAN;
    std::sort(values.begin(), values.end());
    const qsizetype middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double FigureTable::medianRatio(const Row &row)
{
    QList<double> ratios;
    for (qsizetype i = 0; i < std::min(row.client.size(), row.floor.size()); ++i) {
        if (row.floor[i] > 0)
            ratios.append(row.client[i] / row.floor[i]);
    }
    return median(ratios);
}

bool FigureTable::met(const Row &row)
{
    if (!row.otherTarget.isEmpty() && !row.otherMet)
        return false;
    if (row.maxRatio > 0 && !(medianRatio(row) <= row.maxRatio))
        return false;
    if (row.maxExcess >= 0 && !(median(row.client) - median(row.floor) <= row.maxExcess))
        return false;
    return true;
}

bool FigureTable::allTargetsMet() const
{
    return std::all_of(m_rows.begin(), m_rows.end(), [](const Row &row) { return met(row); });
}

void FigureTable::print(std::FILE *out) const
{
    const QStringList header{QStringLiteral("figure"), QStringLiteral("client"),
                             QStringLiteral("floor"),  QStringLiteral("floor value"),
                             QStringLiteral("ratio"),  QStringLiteral("target"),
                             QStringLiteral("met")};
    QList<QStringList> lines{header};
    for (const Row &row : m_rows) {
        QStringList target;
        if (row.maxRatio > 0)
            target << QStringLiteral("<= %1x").arg(row.maxRatio);
        if (row.maxExcess >= 0)
            target << QStringLiteral("<= floor + %1").arg(row.maxExcess);
        if (!row.otherTarget.isEmpty())
            target << row.otherTarget;
        const double ratio = medianRatio(row);
        lines.append({row.figure,
                      number(median(row.client)) + QLatin1Char(' ') + row.unit + spread(row.client),
                      row.floorName,
                      row.floor.isEmpty() ? QStringLiteral("-")
                                          : number(median(row.floor)) + QLatin1Char(' ') +
                                                row.unit + spread(row.floor),
                      std::isnan(ratio) ? QStringLiteral("-") : number(ratio) + QLatin1Char('x'),
                      target.isEmpty() ? QStringLiteral("-") : target.join(QStringLiteral(", ")),
                      target.isEmpty() ? QStringLiteral("-")
                      : met(row)       ? QStringLiteral("yes")
                                       : QStringLiteral("NO")});
    }
    QList<qsizetype> widths(header.size(), 0);
    for (const QStringList &line : lines) {
        for (qsizetype i = 0; i < line.size(); ++i)
            widths[i] = std::max(widths[i], line[i].size());
    }
    for (qsizetype n = 0; n < lines.size(); ++n) {
        QString text;
        for (qsizetype i = 0; i < lines[n].size(); ++i)
            text += lines[n][i].leftJustified(widths[i] + 2);
        std::fprintf(out, "%s\n", qPrintable(text.trimmed()));
        if (n == 0)
            std::fprintf(out, "%s\n", qPrintable(QString(text.trimmed().size(), QLatin1Char('-'))));
    }
}
