#include "ScenarioScript.h"

#include <QDateTime>
#include <QStringList>

namespace {

bool setPattern(ScenarioStep *step, const QString &pattern, QString *error)
{
    step->pattern = QRegularExpression(QRegularExpression::anchoredPattern(pattern));
    if (!step->pattern.isValid())
        *error =
            QStringLiteral("invalid pattern \"%1\": %2").arg(pattern, step->pattern.errorString());
    return step->pattern.isValid();
}

} // namespace

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
        if (!setPattern(&step, argument, error))
            return std::nullopt;
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
    } else if (keyword == QLatin1String("http")) {
        // The behaviour is the last word, so the path pattern may hold blanks.
        static const QRegularExpression form(
            QStringLiteral("^(.*\\S)\\s+(serve|404|hang|close)\\s*$"));
        const QRegularExpressionMatch match = form.match(argument);
        if (!match.hasMatch()) {
            *error = QStringLiteral("http needs a path pattern and a behaviour (serve, 404, hang "
                                    "or close), not \"%1\"")
                         .arg(argument);
            return std::nullopt;
        }
        step.kind = ScenarioStep::Kind::Http;
        // In the order of ScenarioStep::HttpBehaviour.
        static const QStringList behaviours{QStringLiteral("serve"), QStringLiteral("404"),
                                            QStringLiteral("hang"), QStringLiteral("close")};
        step.httpBehaviour = ScenarioStep::HttpBehaviour(behaviours.indexOf(match.captured(2)));
        if (!setPattern(&step, match.captured(1), error))
            return std::nullopt;
    } else {
        *error = QStringLiteral("unknown step \"%1\" (expect, send, wait, close, reopen or http)")
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
