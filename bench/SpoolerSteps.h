#pragma once

#include <QList>
#include <QString>

class FigureTable;
class PrivateCupsd;

// Times the two spooler steps whose cost a user can notice: finding the Print Service through
// the virtual printer (every start and every reconnection) and changing the default printer
// (at start and at shutdown). Each stands next to the bare libcups call it is built on, made
// in the same run against the same private cupsd. Runs in the benchmark's own process.
class SpoolerSteps
{
public:
    // expectedAddress is what the virtual printer of cupsd names; repetitions are timed
    // one by one, and each run gives their median.
    SpoolerSteps(PrivateCupsd &cupsd, QString expectedAddress, int runs, int repetitions);

    // Adds the rows to table; false with errorText() when a step fails or gives a wrong result.
    bool measure(FigureTable &table);
    QString errorText() const { return m_error; }

private:
    bool measureLookups(QList<double> &clientMs, QList<double> &floorMs);
    bool measureDefaultChanges(QList<double> &clientMs, QList<double> &floorMs);
    bool fail(const QString &what);

    PrivateCupsd &m_cupsd;
    QString m_expectedAddress;
    int m_runs;
    int m_repetitions;
    QString m_error;
};
