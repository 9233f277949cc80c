#include "SimProcess.h"

#include <QFile>
#include <QtCore/qtestsupport_core.h>

SimProcess::SimProcess()
{
    m_process.setProgram(QStringLiteral(ONDPS_SIM_PATH));
}

SimProcess::~SimProcess()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

bool SimProcess::start(const QStringList &arguments)
{
    // The traffic log, where the simulator says that it listens, is standard output unless
    // --log names a file.
    const qsizetype logOption = arguments.indexOf(QStringLiteral("--log"));
    const QString logPath = logOption >= 0 ? arguments.value(logOption + 1) : QString();
    m_process.setArguments(arguments);
    m_process.start();
    if (!m_process.waitForStarted(5000))
        return false;
    const auto listening = [&] {
        if (logPath.isEmpty())
            return m_output.contains(QLatin1String(" * listening on "));
        QFile log(logPath);
        return log.open(QIODevice::ReadOnly) && log.readAll().contains(" * listening on ");
    };
    return QTest::qWaitFor(
               [&] {
                   collect();
                   return listening() || m_process.state() == QProcess::NotRunning;
               },
               10000) &&
           m_process.state() == QProcess::Running;
}

bool SimProcess::finish(int timeoutMs)
{
    const bool ended = QTest::qWaitFor(
        [this] {
            collect();
            return m_process.state() == QProcess::NotRunning;
        },
        timeoutMs);
    collect();
    if (!ended) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    return ended;
}

void SimProcess::collect()
{
    m_output += QString::fromUtf8(m_process.readAllStandardOutput());
    m_errors += QString::fromUtf8(m_process.readAllStandardError());
}
