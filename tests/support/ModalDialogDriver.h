#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

// Drives a modal dialog from inside its own exec(): the action runs delayMs after a new
// QApplication::activeModalWidget() shows up. Every wait is bounded: without a dialog within
// 5 s ran() stays false, and a dialog still open closeAfterMs after the action is rejected and
// sets forcedClose(), so a test never hangs. Create it just before the call that runs the dialog.
class ModalDialogDriver : public QObject
{
public:
    using Action = std::function<void(QWidget *dialog)>;

    explicit ModalDialogDriver(Action action, int delayMs = 0, int closeAfterMs = 5000);

    bool ran() const { return m_ran; }
    bool forcedClose() const { return m_forcedClose; }

    // Clicks the named button of dialog with the mouse, when it is there and visible.
    static void click(QWidget *dialog, const char *objectName);

private:
    void poll(int pollsLeft);
    void act();

    Action m_action;
    int m_delayMs;
    int m_closeAfterMs;
    QPointer<QWidget> m_ignored;
    QPointer<QWidget> m_dialog;
    bool m_ran = false;
    bool m_forcedClose = false;
};
