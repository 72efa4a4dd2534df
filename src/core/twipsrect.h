#pragma once

namespace quillo {

// A window's placement in twips, in the order the settings and help files keep it: Top and
// Left of the window's frame (its outer corner on the screen), Height and Width of its client
// area (inside the frame). Files written by every version of the programs mean this.
struct TwipsRect {
    int top = 0;
    int left = 0;
    int height = 0;
    int width = 0;
    bool operator==(const TwipsRect&) const = default;
};

// What the desktop's window frame (title bar, borders) adds around a window's client area on
// each side, in twips. None on a desktop without a window manager.
struct FrameMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int horizontal() const { return left + right; }
    int vertical() const { return top + bottom; }
    bool operator==(const FrameMargins&) const = default;
};

// The whole window on the screen, frame included, for a placement kept as above.
inline TwipsRect outerRect(const TwipsRect& rect, const FrameMargins& frame) {
    return {rect.top, rect.left, rect.height + frame.vertical(), rect.width + frame.horizontal()};
}

} // namespace quillo
