#pragma once

#include <QImage>

namespace lumavox {

// The hue palette of w × h as a 24-bit image (hue across, fading toward grey downwards), built
// row by row and drawn in one piece; picks are sampled from it at logical coordinates.
QImage StandardPaletteImage(int w, int h);

}  // namespace lumavox
