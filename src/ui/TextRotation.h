#pragma once

#include <QObject>

class QWidget;

// Moves a widget's text on through a number of entries, one step per interval, while the
// widget is shown. The client keeps dialogs built and hidden for days, and a hidden widget
// must not wake it up. The widget shows the entry that stepped() names.
class TextRotation : public QObject
{
    Q_OBJECT

public:
    // A child of widget, whose showing and hiding it follows; starts at entry 0.
    TextRotation(QWidget *widget, qsizetype count, int intervalMs);

    int intervalMs() const { return m_intervalMs; }
    // True while its timer runs: the widget is shown and its window is not minimised.
    bool isRunning() const { return m_timerId != -1; }
    // Moves on to the next entry, after the last to the first; nothing happens without entries.
    void step();

signals:
    void stepped(qsizetype entry);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

private:
    qsizetype m_count;
    qsizetype m_current = 0;
    int m_intervalMs;
    int m_timerId = -1;
};
