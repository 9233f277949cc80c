#pragma once

#include <QProcessEnvironment>
#include <QString>

class FigureTable;

// Times a language change chosen in an open dialog, from the click to the new texts painted:
// through the client's changer (with the site's override downloaded) next to a bare pair of
// translators loaded from the same files. Each run is one start of the language program
// (ondtpc-bench-language), which alternates between two languages so that every switch does
// real work.
class LanguageSwitch
{
public:
    // address is the loopback address the program's HTTP peer listens on (port 30044).
    LanguageSwitch(QString address, int runs, int switches, QProcessEnvironment environment);

    // Adds the row to table; false with errorText() when the program fails.
    bool measure(FigureTable &table);
    QString errorText() const { return m_error; }

private:
    QString m_address;
    int m_runs;
    int m_switches;
    QProcessEnvironment m_environment;
    QString m_error;
};
