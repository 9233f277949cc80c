#pragma once

#include <QPixmap>
#include <QString>

// Shows a message or asks a yes/no question, modally. Titles and texts are translation keys
// of the "CommonDialogMessages" context; a text without a translation is shown as it is.
class MessageBoxInterface
{
public:
    virtual ~MessageBoxInterface() = default;
    virtual void critical(const QString &title, const QString &text) = 0;
    virtual void warning(const QString &title, const QString &text) = 0;
    virtual void information(const QString &title, const QString &text) = 0;
    virtual void show(const QString &title, const QString &text, const QPixmap &icon) = 0;
    // True only for "Yes"; "No", Escape and the time-out give false.
    virtual bool question(const QString &title, const QString &text) = 0;
};
