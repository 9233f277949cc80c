#pragma once

#include <QString>

class FigureTable;

// The cost dialog as a user meets it: from the job text leaving the Print Service to the
// dialog mapped on the X server, and from the Return that accepts it to the client's reply
// read by the Print Service. Each run answers a number of dialogs of the real client and as
// many of a bare Qt program showing the same content, on the same Xvfb.
class DialogLatency
{
public:
    DialogLatency(const QString &address, int runs, int dialogs);

    // Adds the rows to table; false with errorText() when a dialog or a reply is missing.
    bool measure(FigureTable &table);
    QString errorText() const { return m_error; }

private:
    QString m_address;
    int m_runs;
    int m_dialogs;
    QString m_error;
};
