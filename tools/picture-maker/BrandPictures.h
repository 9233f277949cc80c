#pragma once

#include <QImage>

// The product logo and the tray icons. The tray icons are the only pictures with
// transparency: a rounded tile that stays readable on light and dark panels.
namespace BrandPictures {

QImage logo();

// 16 x 16, drawn on the pixel grid (a scaled-down vector drawing blurs at this size).
QImage smallTrayIcon(bool registered);

QImage largeTrayIcon();

} // namespace BrandPictures
