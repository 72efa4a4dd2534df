#include "rtf/colortable.h"

#include <algorithm>

namespace quillo::rtf {

void ColorTable::beginTable() {
    colors_.clear();
    resetEntry();
}

void ColorTable::resetEntry() {
    red_ = green_ = blue_ = 0;
    given_ = false;
}

void ColorTable::setRed(int value) {
    red_ = std::clamp(value, 0, 255);
    given_ = true;
}

void ColorTable::setGreen(int value) {
    green_ = std::clamp(value, 0, 255);
    given_ = true;
}

void ColorTable::setBlue(int value) {
    blue_ = std::clamp(value, 0, 255);
    given_ = true;
}

void ColorTable::endEntry() {
    if (given_)
        colors_.push_back(qRgb(red_, green_, blue_));
    else
        colors_.push_back(std::nullopt);
    resetEntry();
}

std::optional<QRgb> ColorTable::color(int index) const {
    if (index > 0 && size_t(index) < colors_.size())
        return colors_[size_t(index)];
    return std::nullopt;
}

} // namespace quillo::rtf
