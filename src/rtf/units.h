#pragma once

#include <QtGlobal>

#include <cmath>

// Lengths inside a page's QTextDocument are in document pixels at 96 DPI: 15 twips per pixel,
// whatever the screen. RTF twips are kept exactly (pixels are fractional), so an indent read
// from RTF is written back unchanged.
namespace quillo::rtf {

constexpr int kTwipsPerPixel = 15;

constexpr qreal twipsToPixels(int twips) {
    return qreal(twips) / kTwipsPerPixel;
}

// Rounds half to even, as every twips conversion of the programs does.
inline int pixelsToTwips(qreal pixels) {
    return int(std::nearbyint(pixels * kTwipsPerPixel));
}

} // namespace quillo::rtf
