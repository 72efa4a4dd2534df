#pragma once

#include "maker/common/settingsfile.h"

#include <QString>
#include <QtGlobal>

#include <array>

// The colour window's rules over its data: the fixed palette, where the swatches lie, the
// saved colours and the scroll bar values of a colour. No widgets.
namespace quillo::maker {

// The 16 colours of the palette tab as Windows colour values (0x00BBGGRR).
const std::array<quint32, 16>& paletteColours();

// Swatches lie in one row, swatch i from x = i * 250 to i * 250 + 200 twips and from y = 0 to
// 200. The swatch under a point, or -1 between and beyond swatches.
int swatchAt(int xTwips, int yTwips, int count);

// Adds a colour to the saved colours unless an equal value is saved already: appended while
// fewer than 10 are saved, otherwise the oldest is dropped and the new one goes last. True
// when the list changed.
bool addSavedColour(ColourSettings& colours, quint32 value);
// Removes the saved colour at `index` (later ones move down); the last clicked index is
// limited to the new last one. Nothing happens for an index outside the list.
void removeSavedColour(ColourSettings& colours, int index);
void clearSavedColours(ColourSettings& colours);

// The red, green and blue scroll bar values for a colour: all 255 for a system colour.
struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    bool operator==(const Rgb&) const = default;
};
Rgb scrollBarValues(quint32 value);
quint32 mixedColour(const Rgb& rgb);

// The window caption for a tab (0 palette, 1 details) and a target (0 text, 1 background).
QString colourWindowCaption(int tab, int target);
// The label and option text of a target.
QString colourTargetName(int target);

} // namespace quillo::maker
