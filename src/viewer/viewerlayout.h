#pragma once

#include "core/helpdocument.h"
#include "core/twipsrect.h"

#include <QRect>
#include <QSize>

// Geometry rules of the viewer window, in twips, free of widgets: where the controls go for
// a client area, how a saved window position is checked against the screen, and the limits
// of the divider between the lists and the page.
namespace quillo::viewer {

using WindowRect = TwipsRect;

inline constexpr WindowRect DefaultWindowRect{200, 200, 6500, 9000};
inline constexpr int DefaultListWidth = 2000;
inline constexpr int MinimumDividerSide = 300; // narrowest list or page panel while dragging
inline constexpr int HeightStep = 180;         // the window height is a multiple of this
inline constexpr int DividerBandHeight = 450;  // the tab-caption band where the divider works
// The smallest saved window that still shows the search bar, a list and some page text; a
// saved size below this (or negative) is broken and placed at the defaults.
inline constexpr int MinimumWindowHeight = 1800;
inline constexpr int MinimumWindowWidth = 2700;

// Fixed places of the search bar (client coordinates).
inline constexpr QRect SearchLabelRect{210, 120, 795, 165};
inline constexpr QRect SearchBoxRect{1050, 60, 3000, 285};
inline constexpr QRect SearchButtonRect{4110, 60, 1275, 285};
inline constexpr QRect FromStartCheckRect{5490, 120, 1365, 195};
// The two etched separator lines: a shadow line at each y, a highlight line 10 below it.
inline constexpr int SeparatorY1 = 0;
inline constexpr int SeparatorY2 = 370;
inline constexpr int SeparatorHighlightOffset = 10;

// Where the resizable controls go, in twips. The tab control, page panel and page text are
// in client coordinates; the lists are relative to the tab control.
struct ClientLayout {
    QRect tab;
    QRect contentsList;
    QRect keywordList;
    QRect panel;
    QRect pageText;
};

// The layout for a client area and a list width (0 means the default width).
ClientLayout layoutFor(QSize clientTwips, int listWidth);
int effectiveListWidth(int listWidth);

// The height rounded down to a multiple of HeightStep.
int roundedDownHeight(int heightTwips);

// A document's saved window placement checked against the screen, the window's frame
// included. The viewer keeps it only when it lies wholly on the screen and otherwise uses the
// defaults (also when no size was saved); the authoring program's preview shrinks it onto
// the screen instead and uses the defaults only when the saved height or width is 0. Both use
// the defaults for a saved size too small to show the window's controls.
struct CheckedPlacement {
    WindowRect rect;
    bool usedDefaults = false;
};
CheckedPlacement checkedViewerPlacement(const DisplaySettings& settings, int screenWidth,
                                        int screenHeight, const FrameMargins& frame = {});
CheckedPlacement checkedPreviewPlacement(const DisplaySettings& settings, int screenWidth,
                                         int screenHeight, const FrameMargins& frame = {});

WindowRect windowRectOf(const DisplaySettings& settings);
void storeWindowRect(DisplaySettings& settings, const WindowRect& rect);

// Whether a divider drag by `delta` twips from a list of `listWidth` and a page panel of
// `panelWidth` leaves both at least MinimumDividerSide wide.
bool dividerMoveAccepted(int listWidth, int panelWidth, int delta);

// A pixel measure converted back to twips. When `known` twips already show as the same
// number of pixels, `known` is kept, so that a saved value survives the round trip through
// whole pixels unchanged.
int twipsKeeping(int pixels, int known, double twipsPerPixel);

} // namespace quillo::viewer
