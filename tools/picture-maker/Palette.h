#pragma once

#include <QColor>

// The one palette every picture of the client is drawn from, so that the dialog pictures, the
// buttons, the tray icons and the logo read as one set.
namespace Palette {

inline const QColor brand{0x1f, 0x6f, 0xb5};     // Ondrel blue: logo, tray icon, dialog glyphs
inline const QColor brandDark{0x15, 0x4e, 0x82}; // details drawn on brand-coloured shapes
inline const QColor brandSoft{0xe4, 0xef, 0xf9}; // the round backdrop behind a glyph
inline const QColor positive{0x2e, 0x9b, 0x5a};  // OK, printed, money in
inline const QColor positiveDark{0x1f, 0x76, 0x43};
inline const QColor positiveSoft{0xe1, 0xf3, 0xe8};
inline const QColor accent{0xf2, 0xa5, 0x1c}; // coins, chip, highlights
inline const QColor accentDark{0xc2, 0x7a, 0x0a};
inline const QColor neutral{0x8a, 0x94, 0x9e}; // disabled glyphs, the unregistered tray icon
inline const QColor neutralDark{0x6b, 0x75, 0x80};
inline const QColor neutralSoft{0xee, 0xf0, 0xf2};
inline const QColor ink{0x22, 0x2c, 0x37};     // dark text
inline const QColor inkSoft{0x5a, 0x65, 0x70}; // secondary text
inline const QColor paper{0xff, 0xff, 0xff};

// Button backgrounds: light and mid tones, because the button text is drawn on them in black.
inline const QColor confirmTop{0xaa, 0xe2, 0xbf};
inline const QColor confirmBottom{0x8c, 0xd4, 0xa6};
inline const QColor confirmEdge{0x5f, 0xb4, 0x80};
inline const QColor cancelTop{0xea, 0xed, 0xf0};
inline const QColor cancelBottom{0xda, 0xde, 0xe3};
inline const QColor cancelEdge{0xb7, 0xbe, 0xc6};
inline const QColor mutedTop{0xea, 0xee, 0xeb};
inline const QColor mutedBottom{0xe0, 0xe5, 0xe2};
inline const QColor mutedEdge{0xc9, 0xd0, 0xcc};

// The colours one glyph is drawn with; a disabled picture is the same drawing in greys.
struct Tones
{
    QColor strong;     // the glyph's body
    QColor dark;       // details on the body
    QColor soft;       // the round backdrop
    QColor accent;     // a second colour (coins, chip, a pie slice)
    QColor accentDark; // the accent's edges
};

inline Tones brandTones()
{
    return {brand, brandDark, brandSoft, accent, accentDark};
}

inline Tones positiveTones()
{
    return {positive, positiveDark, positiveSoft, accent, accentDark};
}

inline Tones disabledTones()
{
    return {QColor(0xa9, 0xb1, 0xb9), QColor(0x8f, 0x98, 0xa1), QColor(0xf1, 0xf2, 0xf4),
            QColor(0xcc, 0xd1, 0xd6), QColor(0xa9, 0xb1, 0xb9)};
}

} // namespace Palette
