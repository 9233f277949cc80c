#pragma once

#include "ui/KeyboardInputFilter.h"

#include <QString>

// Lets letters (also accented Latin-1 letters), digits, blanks and the editing keys through,
// and of the other Latin-1 characters only the configured exceptions (for example "-_").
class AlphanumericKeyboardInputFilter : public KeyboardInputFilter
{
public:
    explicit AlphanumericKeyboardInputFilter(const QString &exceptions = QString());

    bool accepts(quint16 keyCode) const override;
    QString exceptions() const { return m_exceptions; }

private:
    QString m_exceptions;
};
