#include "ui/KeyboardInputFilter.h"

quint16 KeyboardInputFilter::filterKeyCode(int qtKey)
{
    constexpr int SpecialKeyBase = 0x01000000;
    constexpr int FilterSpecialBase = 0x1000;
    if (qtKey >= 0 && qtKey < 0x10000)
        return static_cast<quint16>(qtKey);
    if (qtKey >= SpecialKeyBase && qtKey - SpecialKeyBase <= 0xFFFF - FilterSpecialBase)
        return static_cast<quint16>(qtKey - SpecialKeyBase + FilterSpecialBase);
    return 0xFFFF;
}
