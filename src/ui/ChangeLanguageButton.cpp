#include "ui/ChangeLanguageButton.h"

#include <QTimerEvent>

#include <algorithm>

ChangeLanguageButton::ChangeLanguageButton(QWidget *parent, const LanguageList &languages,
                                           int intervalMs)
    : QPushButton(parent)
    , m_languages(languages)
    , m_interval(intervalMs)
{
    setObjectName(QStringLiteral("ChangeLanguageButton"));
    int widest = 0;
    for (const LanguageEntry &entry : std::as_const(m_languages)) {
        widest = std::max(widest, fontMetrics().horizontalAdvance(entry.first) + 24);
        widest = std::max(widest, fontMetrics().horizontalAdvance(entry.second) + 24);
    }
    if (widest > minimumWidth())
        setMinimumWidth(widest);
    setFocusPolicy(Qt::NoFocus);
    setDefault(false);
    setAutoDefault(false);
    if (!m_languages.isEmpty())
        setText(m_languages.first().first);
}

void ChangeLanguageButton::showEvent(QShowEvent *event)
{
    if (m_timerId == -1)
        m_timerId = startTimer(m_interval);
    QPushButton::showEvent(event);
}

void ChangeLanguageButton::hideEvent(QHideEvent *event)
{
    if (m_timerId != -1) {
        killTimer(m_timerId);
        m_timerId = -1;
    }
    QPushButton::hideEvent(event);
}

void ChangeLanguageButton::setExtensionShown(bool shown)
{
    m_open = shown;
    advance();
}

void ChangeLanguageButton::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_timerId) {
        advance();
        return;
    }
    QPushButton::timerEvent(event);
}

void ChangeLanguageButton::advance()
{
    if (m_languages.isEmpty())
        return;
    m_current = (m_current + 1) % m_languages.size();
    const LanguageEntry &entry = m_languages.at(m_current);
    setText(m_open ? entry.second : entry.first);
}
