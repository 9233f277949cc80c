#include "ScenarioScript.h"

#include <QDateTime>
#include <QStringList>

std::optional<ScenarioStep> ScenarioScript::parseLine(const QString &rawLine, int lineNumber,
                                                      QString *error)
{
    error->clear();
    QString line = rawLine;
    if (line.endsWith(QLatin1Char('\r')))
        line.chop(1);
    // Leading blanks are layout; everything after the keyword's separator is the argument,
    // blanks included, so a send can carry any text.
    qsizetype start = 0;
    while (start < line.size() && line.at(start).isSpace())
        ++start;
    line = line.mid(start);
    if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
        return std::nullopt;

    qsizetype separator = 0;
    while (separator < line.size() && line.at(separator) != QLatin1Char(' ') &&
           line.at(separator) != QLatin1Char('\t'))
        ++separator;
    const QString keyword = line.left(separator);
    const QString argument = line.mid(separator + 1);
    const bool hasArgument = separator < line.size();

    ScenarioStep step;
    step.line = lineNumber;
    step.argument = argument;
    if (keyword == QLatin1String("expect")) {
        step.kind = ScenarioStep::Kind::Expect;
        if (argument.isEmpty()) {
            *error = QStringLiteral("expect needs a pattern (^$ matches the empty text)");
            return std::nullopt;
        }
        step.pattern = QRegularExpression(QRegularExpression::anchoredPattern(argument));
        if (!step.pattern.isValid()) {
            *error = QStringLiteral("invalid pattern \"%1\": %2")
                         .arg(argument, step.pattern.errorString());
            return std::nullopt;
        }
    } else if (keyword == QLatin1String("send")) {
        step.kind = ScenarioStep::Kind::Send;
    } else if (keyword == QLatin1String("wait")) {
        step.kind = ScenarioStep::Kind::Wait;
        bool ok = false;
        step.milliseconds = argument.trimmed().toInt(&ok);
        if (!ok || step.milliseconds < 0) {
            *error =
                QStringLiteral("wait needs a number of milliseconds, not \"%1\"").arg(argument);
            return std::nullopt;
        }
    } else if (keyword == QLatin1String("close") || keyword == QLatin1String("reopen")) {
        step.kind = keyword == QLatin1String("close") ? ScenarioStep::Kind::Close
                                                      : ScenarioStep::Kind::Reopen;
        if (hasArgument && !argument.trimmed().isEmpty()) {
            *error = QStringLiteral("%1 takes no argument").arg(keyword);
            return std::nullopt;
        }
    } else {
        *error = QStringLiteral("unknown step \"%1\" (expect, send, wait, close or reopen)")
                     .arg(keyword);
        return std::nullopt;
    }
    return step;
}

bool ScenarioScript::parse(const QString &text, QList<ScenarioStep> *steps, QString *error)
{
    steps->clear();
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString lineError;
        const std::optional<ScenarioStep> step = parseLine(lines.at(i), int(i + 1), &lineError);
        if (!lineError.isEmpty()) {
            *error = QStringLiteral("line %1: %2").arg(i + 1).arg(lineError);
            return false;
        }
        if (step)
            steps->append(*step);
    }
    return true;
}

QString ScenarioScript::expandSendText(const QString &text)
{
    QString expanded = text;
    return expanded.replace(QLatin1String("${NOW}"), QDateTime::currentDateTime().toString(
                                                         QStringLiteral("yyyyMMddhhmmss")));
}
