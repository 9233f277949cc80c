#pragma once

#include "ui/LanguageList.h"

#include <QPushButton>

class TextRotation;

// The button at the foot of a dialog that opens the language list. Its caption rotates
// through the names of the supported languages, each in its own language, so that a user
// who cannot read the current language still finds it; while the list is open it rotates
// through the "close" texts instead. It never takes the focus nor answers Return. It rotates
// only while shown, so a dialog kept hidden costs no wake-ups.
class ChangeLanguageButton : public QPushButton
{
    Q_OBJECT

public:
    // languages is copied: a later change of the dialogs' shared list does not reach an
    // existing button.
    ChangeLanguageButton(QWidget *parent, const LanguageList &languages, int intervalMs);

    // Called just before the list opens (true) or closes (false); moves the caption on at once.
    void setExtensionShown(bool shown);
    bool isExtensionShown() const { return m_open; }
    int interval() const;

private:
    void showEntry(qsizetype entry);

    LanguageList m_languages;
    bool m_open = false;
    TextRotation *m_rotation;
};
