#pragma once

#include <QImage>
#include <QSize>

// Button backgrounds (no text: the button draws its own). The button stretches them to its
// whole rectangle without keeping the aspect ratio, so they are made of horizontal bands only:
// a gentle top-to-bottom shade and a darker bottom edge, which survive any stretching.
namespace ButtonPictures {

enum class Kind {
    Confirm,         // the button that goes ahead
    ConfirmDisabled, // the same, disabled: muted
    Cancel           // the button that goes back
};

QImage background(Kind kind, const QSize &size);

} // namespace ButtonPictures
