#pragma once

#include <QtGlobal>

// Decides which keys may reach one input field. The dialog that installs it beeps and drops
// the keys it refuses.
class KeyboardInputFilter
{
public:
    virtual ~KeyboardInputFilter() = default;
    // keyCode is a Latin-1 character code (letters as upper case) or, from 4096 on, one of
    // the editing and control keys; see filterKeyCode.
    virtual bool accepts(quint16 keyCode) const = 0;

    // Maps a Qt key (QKeyEvent::key()) to the 16-bit code filters judge: printable keys keep
    // their code, Qt's special keys 0x01000000 + n become 4096 + n (Escape 4096 ... Scroll
    // Lock 4134), anything that does not fit becomes 0xFFFF, which no filter accepts.
    static quint16 filterKeyCode(int qtKey);
};
