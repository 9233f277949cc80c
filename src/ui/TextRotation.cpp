#include "ui/TextRotation.h"

#include <QTimerEvent>
#include <QWidget>

TextRotation::TextRotation(QWidget *widget, qsizetype count, int intervalMs)
    : QObject(widget)
    , m_count(count)
    , m_intervalMs(intervalMs)
{
    widget->installEventFilter(this);
    // A minimised window is still "shown"; it must not wake the client either.
    if (widget->window() != widget)
        widget->window()->installEventFilter(this);
}

void TextRotation::step()
{
    if (m_count == 0)
        return;
    m_current = (m_current + 1) % m_count;
    emit stepped(m_current);
}

bool TextRotation::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::Show || type == QEvent::Hide || type == QEvent::WindowStateChange) {
        const auto *widget = static_cast<QWidget *>(parent());
        const bool due = widget->isVisible() && !widget->window()->isMinimized();
        if (due && m_timerId == -1) {
            m_timerId = startTimer(m_intervalMs);
        } else if (!due && m_timerId != -1) {
            killTimer(m_timerId);
            m_timerId = -1;
        }
    }
    return QObject::eventFilter(watched, event);
}

void TextRotation::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_timerId) {
        step();
        return;
    }
    QObject::timerEvent(event);
}
