#pragma once

#include <QPointer>

#include <vector>

class QDialog;

// Groups the modal dialogs that run while one scope is the innermost alive, so that they can be
// closed together when what they answer goes away (the Print Service's connection: a dialog's
// answer to a text can only be written on the connection the text came on). Scopes nest like
// the event loops they surround. GUI thread only; create it on the stack.
class DialogRunScope
{
public:
    DialogRunScope();
    ~DialogRunScope();

    DialogRunScope(const DialogRunScope &) = delete;
    DialogRunScope &operator=(const DialogRunScope &) = delete;

    // Rejects every dialog of every live scope that is still running, and makes every dialog
    // those scopes start from now on close as soon as it is run.
    static void closeAll();

    // Called by a dialog as it starts running modally: false when the innermost scope was
    // closed, and the dialog must not show. A dialog run outside any scope belongs to none.
    static bool enter(QDialog *dialog);
    // Called by a dialog when its run ends.
    static void leave(QDialog *dialog);

private:
    std::vector<QPointer<QDialog>> m_running;
    bool m_closed = false;
    DialogRunScope *m_outer;
};
