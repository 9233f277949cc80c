#include "InteractiveConsole.h"

#include "ScenarioRunner.h"
#include "ScenarioScript.h"

#include <cstdio>
#include <unistd.h>

namespace {

const char *const HelpText =
    "Steps:\n"
    "  expect <regex>   the next text received must match the whole regex\n"
    "  send <text>      send a text to the newest client (${NOW} = current timestamp)\n"
    "  wait <ms>        pause\n"
    "  close            drop every client and stop listening\n"
    "  reopen           listen again\n"
    "  http <regex> <behaviour>\n"
    "                   answer matching HTTP paths: serve, 404, hang or close\n"
    "  help             this text\n"
    "  quit             end (exit status 1 if an expectation failed)\n";

void printError(const QString &text)
{
    std::fprintf(stderr, "%s\n", qPrintable(text));
    std::fflush(stderr);
}

} // namespace

InteractiveConsole::InteractiveConsole(ScenarioRunner *runner, QObject *parent)
    : QObject(parent)
    , m_runner(runner)
    , m_notifier(STDIN_FILENO, QSocketNotifier::Read)
{
    m_notifier.setEnabled(false);
    connect(&m_notifier, &QSocketNotifier::activated, this, &InteractiveConsole::readInput);
    connect(m_runner, &ScenarioRunner::stepFailed, this, [this](int line, const QString &why) {
        printError(QStringLiteral("FAILED line %1: %2").arg(line).arg(why));
        prompt();
    });
    connect(m_runner, &ScenarioRunner::stepSucceeded, this, [this](const ScenarioStep &step) {
        if (step.kind == ScenarioStep::Kind::Expect)
            printError(QStringLiteral("ok line %1").arg(step.line));
        prompt();
    });
    connect(m_runner, &ScenarioRunner::finished, this, [this] {
        if (m_quitting)
            emit quitRequested();
    });
}

void InteractiveConsole::start()
{
    m_terminal = ::isatty(STDIN_FILENO) != 0;
    m_notifier.setEnabled(true);
    prompt();
}

void InteractiveConsole::readInput()
{
    char chunk[4096];
    const ssize_t count = ::read(STDIN_FILENO, chunk, sizeof chunk);
    if (count <= 0) {
        // End of input (or a started-in-the-background stdin): keep serving until
        // interrupted, so the simulator can run unattended.
        m_notifier.setEnabled(false);
        return;
    }
    m_pending.append(chunk, count);
    qsizetype end;
    while ((end = m_pending.indexOf('\n')) >= 0) {
        const QString line = QString::fromUtf8(m_pending.left(end));
        m_pending.remove(0, end + 1);
        handleLine(line);
    }
}

void InteractiveConsole::handleLine(const QString &line)
{
    ++m_lineNumber;
    const QString command = line.trimmed();
    if (m_quitting)
        return;
    if (command == QLatin1String("quit")) {
        m_quitting = true;
        m_notifier.setEnabled(false);
        if (!m_runner->isBusy())
            emit quitRequested();
        return;
    }
    if (command == QLatin1String("help")) {
        std::fputs(HelpText, stderr);
        prompt();
        return;
    }
    QString error;
    const std::optional<ScenarioStep> step = ScenarioScript::parseLine(line, m_lineNumber, &error);
    if (!error.isEmpty())
        printError(QStringLiteral("line %1: %2").arg(m_lineNumber).arg(error));
    if (step)
        m_runner->append(*step);
    else
        prompt();
}

void InteractiveConsole::prompt()
{
    if (m_terminal && !m_runner->isBusy()) {
        std::fputs("ondps-sim> ", stderr);
        std::fflush(stderr);
    }
}
