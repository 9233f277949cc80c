#pragma once

#include "ui/MessageBoxInterface.h"

#include <QSize>
#include <QStringList>

#include <functional>

// A message box that shows nothing: it records each call as "<kind> <title>" and the last text,
// answers questions with `answer`, and runs `onCall` at each call (to look at other windows
// at that moment).
struct RecordingMessageBox : MessageBoxInterface
{
    void critical(const QString &title, const QString &text) override
    {
        record("critical", title, text);
    }
    void warning(const QString &title, const QString &text) override
    {
        record("warning", title, text);
    }
    void information(const QString &title, const QString &text) override
    {
        record("information", title, text);
    }
    void show(const QString &title, const QString &text, const QPixmap &icon) override
    {
        record("show", title, text);
        iconSize = icon.size();
    }
    bool question(const QString &title, const QString &text) override
    {
        record("question", title, text);
        return answer;
    }

    QStringList calls;
    QString text;
    QSize iconSize;
    bool answer = false;
    std::function<void()> onCall;

private:
    void record(const char *kind, const QString &title, const QString &shown)
    {
        calls << QString::fromLatin1(kind) + ' ' + title;
        text = shown;
        if (onCall)
            onCall();
    }
};
