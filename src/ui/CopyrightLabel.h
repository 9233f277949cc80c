#pragma once

#include <QLabel>
#include <QStringList>

class VersionInfoInterface;

// The notice line at the foot of the dialogs and the main window: shows, in turn, the
// product name, the copyright line, a rights notice and the version, each for one interval.
// The texts are the program's own and are never translated. It turns only while shown: the
// client keeps dialogs built but hidden for days, and a hidden label must not wake it up.
class CopyrightLabel : public QLabel
{
    Q_OBJECT

public:
    static constexpr int DefaultIntervalMs = 10000;

    // Takes the parent's font at 8 points. The version texts are copied; info need not
    // outlive the label.
    CopyrightLabel(QWidget *parent, const VersionInfoInterface &info,
                   int intervalMs = DefaultIntervalMs);

    // The four texts in the order they are shown.
    QStringList texts() const { return m_texts; }
    int interval() const { return m_interval; }

protected:
    void timerEvent(QTimerEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void advance();
    void applyAlignment();

    int m_timerId = -1;
    int m_index = -1;
    Qt::Alignment m_alignment = Qt::AlignCenter;
    int m_interval;
    QStringList m_texts;
};
