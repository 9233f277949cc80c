#pragma once

#include "Palette.h"

#include <QImage>

// The 50 x 50 pictures of the dialogs: a glyph on a round, softly tinted backdrop, on white.
// The disabled variants are the same drawings in the grey tones.
namespace DialogPictures {

QImage userId();
QImage wantToPrint();
QImage printOk();
QImage password();
QImage allocation();
QImage deposit(const Palette::Tones &tones);
QImage credit(const Palette::Tones &tones);

} // namespace DialogPictures
