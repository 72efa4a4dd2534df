#pragma once

namespace quillo {

// A window's outer placement in twips, in the order the settings and help files keep it.
struct TwipsRect {
    int top = 0;
    int left = 0;
    int height = 0;
    int width = 0;
    bool operator==(const TwipsRect&) const = default;
};

} // namespace quillo
