#include "ui/CopyrightLabel.h"

#include "core/VersionInfoInterface.h"

#include <QTimerEvent>

CopyrightLabel::CopyrightLabel(QWidget *parent, const VersionInfoInterface &info, int intervalMs)
    : QLabel(parent)
    , m_interval(intervalMs)
    , m_texts{info.productName(), info.copyright() + QStringLiteral(", ") + info.companyName(),
              QStringLiteral("All rights reserved."),
              QStringLiteral("Version %1").arg(info.fileVersion())}
{
    setObjectName(QStringLiteral("CopyrightLabel"));
    QFont small = parent ? parent->font() : font();
    small.setPointSize(8);
    setFont(small);
    setFixedHeight(30);
    advance();
    applyAlignment();
}

void CopyrightLabel::showEvent(QShowEvent *event)
{
    if (m_timerId == -1)
        m_timerId = startTimer(m_interval);
    QLabel::showEvent(event);
}

void CopyrightLabel::hideEvent(QHideEvent *event)
{
    if (m_timerId != -1) {
        killTimer(m_timerId);
        m_timerId = -1;
    }
    QLabel::hideEvent(event);
}

void CopyrightLabel::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_timerId) {
        advance();
        return;
    }
    QLabel::timerEvent(event);
}

void CopyrightLabel::advance()
{
    ++m_index;
    if (m_index >= m_texts.size())
        m_index = 0;
    setText(m_texts.at(m_index));
    applyAlignment();
}

void CopyrightLabel::applyAlignment()
{
    setAlignment(m_alignment);
    setWordWrap(true);
}
