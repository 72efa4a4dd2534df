#pragma once

#include <QString>

#include <optional>

// Plain logic of the page editor's formatting: the typed font size, the indent ruler's
// geometry and labels, and the buttons of the two toolbars.
namespace quillo::maker {

// Typed font sizes outside this range are refused.
inline constexpr int MinTypedFontSize = 6;
inline constexpr int MaxTypedFontSize = 48;

// The number a typed size box text stands for, rounded half-to-even to a whole number; no
// value for a text that is not a number or does not fit 16 bits.
std::optional<int> typedFontSize(const QString& text);
QString fontSizeRangeText();

// Ruler geometry, all in twips of the main window. A marker is `MarkerWidth` wide; its
// "left" is where that width begins, so that a marker's centre lies `MarkerWidth` / 2 to
// the right of it.
inline constexpr int MarkerWidth = 60;
// The left marker's left when the paragraph has no left indent.
inline constexpr int LeftMarkerHome = 170;

// Where the markers stand for a paragraph's indents.
int leftMarkerForIndent(int leftIndent);
int rightMarkerForIndent(int editorWidth, int rightIndent);
// The indents a released marker sets, from its guide line's left (the marker's centre).
int leftIndentForGuide(int guideLeft, int editorLeft);
int rightIndentForGuide(int guideLeft, int editorLeft, int editorWidth);

// A dragged marker's left after the limits, tested in their order; `limited` tells whether
// one applied (the drag then ends).
struct MarkerLimit {
    int left = 0;
    bool limited = false;
};
MarkerLimit limitLeftMarker(int left, int editorWidth, int rightMarkerLeft);
MarkerLimit limitRightMarker(int left, int editorWidth, int leftMarkerLeft);

// The ruler labels' value of a marker: its centre from the editor's left edge, scaled by
// 1.112, each step rounded half-to-even to a 16-bit number.
int rulerPosition(int markerLeft, int editorLeft);
// "L=" or "R=" and the value with its sign column, padded on the left to six characters.
QString rulerLabelText(const QString& prefix, int value);

} // namespace quillo::maker
