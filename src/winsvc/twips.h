#pragma once

#include <Qt>

namespace quillo {

// Layout in the model and the settings is in twips (1/1440 inch); pixels appear only at the
// widget boundary. Twips per pixel = 1440 / the primary screen's logical DPI (15 at 96 DPI).

// Rounds to the nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
int roundHalfEven(double value);

double twipsPerPixel(Qt::Orientation orientation = Qt::Horizontal);

int twipsToPixels(double twips, double twipsPerPixel);
int twipsToPixels(double twips, Qt::Orientation orientation = Qt::Horizontal);
int pixelsToTwips(double pixels, double twipsPerPixel);
int pixelsToTwips(double pixels, Qt::Orientation orientation = Qt::Horizontal);

// Size of the primary screen's available area (without panels) in twips.
int screenWidthTwips();
int screenHeightTwips();

} // namespace quillo
