#include "ui/DialogRunScope.h"

#include <QDialog>

#include <algorithm>

namespace {

DialogRunScope *s_innermost = nullptr;

} // namespace

DialogRunScope::DialogRunScope()
    : m_outer(s_innermost)
{
    s_innermost = this;
}

DialogRunScope::~DialogRunScope()
{
    s_innermost = m_outer;
}

void DialogRunScope::closeAll()
{
    for (DialogRunScope *scope = s_innermost; scope; scope = scope->m_outer) {
        scope->m_closed = true;
        // Innermost first: a dialog's event loop ends only after the loops nested in it.
        for (auto it = scope->m_running.rbegin(); it != scope->m_running.rend(); ++it) {
            if (QDialog *dialog = it->data())
                dialog->reject();
        }
    }
}

bool DialogRunScope::enter(QDialog *dialog)
{
    if (!s_innermost)
        return true;
    if (s_innermost->m_closed)
        return false;
    s_innermost->m_running.emplace_back(dialog);
    return true;
}

void DialogRunScope::leave(QDialog *dialog)
{
    for (DialogRunScope *scope = s_innermost; scope; scope = scope->m_outer) {
        auto &running = scope->m_running;
        running.erase(std::remove_if(running.begin(), running.end(),
                                     [dialog](const QPointer<QDialog> &entry) {
                                         return entry.isNull() || entry == dialog;
                                     }),
                      running.end());
    }
}
