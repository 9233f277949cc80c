#pragma once

#include <QList>
#include <QRegularExpression>
#include <QString>

#include <optional>

// One step of a scenario: what the simulator does or waits for next.
struct ScenarioStep
{
    enum class Kind { Expect, Send, Wait, Close, Reopen, Http };
    // How the file server answers the paths of an http step.
    enum class HttpBehaviour { Serve, NotFound, Hang, Close };

    Kind kind = Kind::Wait;
    // The pattern of an expect (matched against the whole text) or the text of a send.
    QString argument;
    // An expect's pattern, or an http step's path pattern; both match whole.
    QRegularExpression pattern;
    HttpBehaviour httpBehaviour = HttpBehaviour::Serve;
    int milliseconds = 0;
    // Where the step came from, for messages: the script line or the typed line.
    int line = 0;
};

// Reads the plain-text scenario format: one step per line ("expect <regex>", "send <text>",
// "wait <ms>", "close", "reopen", "http <regex> <behaviour>"); blank lines and lines starting
// with "#" are ignored.
class ScenarioScript
{
public:
    // One line: a step, or no step for a blank or comment line. On an invalid line the
    // result is empty and error says why.
    static std::optional<ScenarioStep> parseLine(const QString &line, int lineNumber,
                                                 QString *error);
    // A whole script; false with "line N: ..." in error at the first invalid line.
    static bool parse(const QString &text, QList<ScenarioStep> *steps, QString *error);
    // The text of a send as it goes out: "${NOW}" becomes the current local time in the
    // protocol's timestamp form.
    static QString expandSendText(const QString &text);
};
