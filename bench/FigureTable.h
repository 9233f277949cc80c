#pragma once

#include <QList>
#include <QString>

#include <cstdio>

// The benchmark's result: one row per figure with every run's value of the client and of
// its floor, printed as medians with the median of the per-run ratios (each run measures
// the client and its floor close together, so their ratio is steadier than either figure on
// a shared machine) and whether the target is met.
class FigureTable
{
public:
    struct Row
    {
        Row(const QString &figure, const QString &unit, const QList<double> &client,
            const QString &floorName = QString(), const QList<double> &floor = {})
            : figure(figure)
            , unit(unit)
            , client(client)
            , floorName(floorName)
            , floor(floor)
        {}

        QString figure;
        QString unit;
        QList<double> client;
        QString floorName;
        QList<double> floor;
        // Met when the median ratio is at most this; 0: no ratio target.
        double maxRatio = 0;
        // Met when the client's median exceeds the floor's by at most this; < 0: none.
        double maxExcess = -1;
        // A target judged elsewhere (for example "every reply in order"): its verdict.
        QString otherTarget;
        bool otherMet = true;
    };

    void add(const Row &row) { m_rows.append(row); }
    void print(std::FILE *out) const;
    // False when a row with a target misses it.
    bool allTargetsMet() const;

    static double median(QList<double> values);

private:
    static bool met(const Row &row);
    static double medianRatio(const Row &row);

    QList<Row> m_rows;
};
