#include "ui/AlphanumericKeyboardInputFilter.h"

AlphanumericKeyboardInputFilter::AlphanumericKeyboardInputFilter(const QString &exceptions)
    : m_exceptions(exceptions)
{}

bool AlphanumericKeyboardInputFilter::accepts(quint16 keyCode) const
{
    if (keyCode >= '0' && keyCode <= '9')
        return true;
    if (keyCode >= 'A' && keyCode <= 'Z')
        return true;
    if (keyCode >= 4096 && keyCode <= 4134)
        return true;
    if (keyCode == ' ' || keyCode == 160)
        return true;
    if (keyCode >= 192 && keyCode <= 255)
        return true;
    if (keyCode <= 255)
        return m_exceptions.contains(QChar(keyCode));
    return false;
}
