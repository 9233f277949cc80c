#include "LanguageSwitch.h"

#include "FigureTable.h"

#include <QProcess>

#include <cstdio>

LanguageSwitch::LanguageSwitch(QString address, int runs, int switches,
                               QProcessEnvironment environment)
    : m_address(std::move(address))
    , m_runs(runs)
    , m_switches(switches)
    , m_environment(std::move(environment))
{}

bool LanguageSwitch::measure(FigureTable &table)
{
    QList<double> clientMs;
    QList<double> floorMs;
    for (int run = 0; run < m_runs; ++run) {
        std::fprintf(stderr, "  language switch, run %d of %d\n", run + 1, m_runs);
        QProcess program;
        program.setProcessEnvironment(m_environment);
        program.start(QStringLiteral(BENCH_LANGUAGE), {m_address, QString::number(m_switches)});
        if (!program.waitForFinished(120000) || program.exitStatus() != QProcess::NormalExit ||
            program.exitCode() != 0) {
            m_error = QStringLiteral("the language program failed: %1")
                          .arg(QString::fromLocal8Bit(program.readAllStandardError()));
            return false;
        }
        const QList<QByteArray> figures = program.readAllStandardOutput().trimmed().split(' ');
        clientMs.append(figures.value(0).toDouble() / 1000);
        floorMs.append(figures.value(1).toDouble() / 1000);
    }
    table.add({QStringLiteral("language switch, click to new texts painted"), QStringLiteral("ms"),
               clientMs, QStringLiteral("bare QTranslator pair"), floorMs});
    return true;
}
