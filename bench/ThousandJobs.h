#pragma once

#include <QString>

class FigureTable;

// Many whole jobs on one connection, as a long day at a workstation: each job's cost dialog
// accepted, its progress window asked for and its confirmation closed by the robot. Checks
// every reply in order, and that resident memory and descriptors stay flat once the first
// jobs are done; the time per job stands next to the bare program's dialog floors summed.
class ThousandJobs
{
public:
    ThousandJobs(const QString &address, int runs, int jobs, int floorDialogs);

    bool measure(FigureTable &table);
    QString errorText() const { return m_error; }

private:
    QString m_address;
    int m_runs;
    int m_jobs;
    int m_floorDialogs;
    QString m_error;
};
