#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <functional>

// Drives a modal dialog from inside its own exec(): every 10 ms a single-shot check looks for
// QApplication::activeModalWidget(); once a new modal dialog is there, the action runs on it
// (after delayMs). Every wait is bounded: no dialog within 5 s sets timedOut(), and a dialog
// still open closeAfterMs after the action is rejected and sets forcedClose(), so a test
// never hangs. Create the driver just before the call that runs the dialog.
class ModalDialogDriver : public QObject
{
    Q_OBJECT

public:
    using Action = std::function<void(QWidget *dialog)>;
    static constexpr int WaitForDialogMs = 5000;

    explicit ModalDialogDriver(Action action, int delayMs = 0, int closeAfterMs = 5000);

    bool ran() const { return m_ran; }
    bool timedOut() const { return m_timedOut; }
    bool forcedClose() const { return m_forcedClose; }
    // The dialog the action ran on (null once it is destroyed).
    QWidget *dialog() const { return m_dialog; }

    // A child of dialog by object name, or null.
    static QWidget *find(QWidget *dialog, const QString &objectName);
    // Clicks the named button with the mouse; false when there is no such visible button.
    static bool click(QWidget *dialog, const QString &objectName);
    // Types text into the named widget, key by key, through the event filters.
    static bool keyClicks(QWidget *dialog, const QString &objectName, const QString &text);

private:
    void poll();
    void act();
    void guard();

    Action m_action;
    int m_delayMs;
    int m_closeAfterMs;
    int m_polls = 0;
    QPointer<QWidget> m_ignored;
    QPointer<QWidget> m_dialog;
    bool m_ran = false;
    bool m_timedOut = false;
    bool m_forcedClose = false;
};
