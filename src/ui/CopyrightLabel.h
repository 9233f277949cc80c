#pragma once

#include <QLabel>
#include <QStringList>

class TextRotation;
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
    int interval() const;

private:
    void showText(qsizetype index);

    QStringList m_texts;
    TextRotation *m_rotation;
};
