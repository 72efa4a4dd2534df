#include "viewer/viewerlayout.h"

#include "winsvc/twips.h"

#include <algorithm>

namespace quillo::viewer {

namespace {
constexpr QPoint TabTopLeft{30, 540};
constexpr QPoint ListTopLeft{90, 390};
constexpr int PanelTop = 930;
constexpr int PageTextTop = 990;
} // namespace

int effectiveListWidth(int listWidth) {
    return listWidth == 0 ? DefaultListWidth : listWidth;
}

ClientLayout layoutFor(QSize clientTwips, int listWidth) {
    listWidth = effectiveListWidth(listWidth);
    ClientLayout l;
    l.tab = QRect(TabTopLeft, QSize(clientTwips.width() - 25, clientTwips.height() - 570));
    const int listHeight = l.tab.height() - 420;
    l.contentsList = QRect(ListTopLeft, QSize(listWidth, listHeight));
    // Both lists fill the same area of their tab page; the keyword list is not made taller
    // than the tab control, which would clip its lower edge.
    l.keywordList = l.contentsList;
    const int textLeft = listWidth + 370;
    const int textWidth = l.tab.width() - textLeft - 80;
    const int textHeight = l.tab.height() - 600;
    l.pageText = QRect(textLeft, PageTextTop, textWidth, textHeight);
    l.panel = QRect(textLeft - 200, PanelTop, textWidth + 230, textHeight + 120);
    return l;
}

int roundedDownHeight(int heightTwips) {
    return heightTwips - heightTwips % HeightStep;
}

WindowRect windowRectOf(const DisplaySettings& s) {
    return {s.windowTop, s.windowLeft, s.windowHeight, s.windowWidth};
}

void storeWindowRect(DisplaySettings& s, const WindowRect& r) {
    s.windowTop = qint16(r.top);
    s.windowLeft = qint16(r.left);
    s.windowHeight = qint16(r.height);
    s.windowWidth = qint16(r.width);
}

namespace {
bool tooSmall(const WindowRect& r) {
    return r.height < MinimumWindowHeight || r.width < MinimumWindowWidth;
}
} // namespace

CheckedPlacement checkedViewerPlacement(const DisplaySettings& settings, int screenWidth,
                                        int screenHeight, const FrameMargins& frame) {
    const WindowRect r = windowRectOf(settings);
    const WindowRect outer = outerRect(r, frame);
    const bool sized = (r.height != 0 || r.width != 0) && !tooSmall(r);
    const bool onScreen = r.top + outer.height <= screenHeight && r.top >= 0 &&
                          r.left + outer.width <= screenWidth && r.left >= 0;
    if (sized && onScreen)
        return {r, false};
    return {DefaultWindowRect, true};
}

CheckedPlacement checkedPreviewPlacement(const DisplaySettings& settings, int screenWidth,
                                         int screenHeight, const FrameMargins& frame) {
    WindowRect r = windowRectOf(settings);
    if (tooSmall(r))
        return {DefaultWindowRect, true};
    // The corner first, so that the size is then cut to what is left of the screen.
    r.top = std::max(r.top, 0);
    r.left = std::max(r.left, 0);
    // The frame stays whole on the screen; the client area gives up what the frame takes.
    if (r.top + r.height + frame.vertical() > screenHeight)
        r.height = screenHeight - r.top - frame.vertical();
    if (r.left + r.width + frame.horizontal() > screenWidth)
        r.width = screenWidth - r.left - frame.horizontal();
    return {r, false};
}

bool dividerMoveAccepted(int listWidth, int panelWidth, int delta) {
    return listWidth + delta >= MinimumDividerSide && panelWidth - delta >= MinimumDividerSide;
}

int twipsKeeping(int pixels, int known, double twipsPerPixel) {
    if (twipsToPixels(known, twipsPerPixel) == pixels)
        return known;
    return pixelsToTwips(pixels, twipsPerPixel);
}

} // namespace quillo::viewer
