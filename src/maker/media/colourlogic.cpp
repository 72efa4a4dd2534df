#include "maker/media/colourlogic.h"

#include "winsvc/wincolor.h"

namespace quillo::maker {

namespace {

constexpr quint32 rgb(quint32 r, quint32 g, quint32 b) {
    return r | (g << 8) | (b << 16);
}

constexpr int SwatchStep = 250;
constexpr int SwatchSize = 200;

} // namespace

const std::array<quint32, 16>& paletteColours() {
    static const std::array<quint32, 16> colours{
        rgb(0, 0, 0),       rgb(0, 0, 128),   rgb(0, 128, 0),   rgb(0, 128, 128),
        rgb(128, 0, 0),     rgb(128, 0, 128), rgb(128, 128, 0), rgb(192, 192, 192),
        rgb(128, 128, 128), rgb(0, 0, 255),   rgb(0, 255, 0),   rgb(0, 255, 255),
        rgb(255, 0, 0),     rgb(255, 0, 255), rgb(255, 255, 0), rgb(255, 255, 255)};
    return colours;
}

int swatchAt(int xTwips, int yTwips, int count) {
    if (xTwips < 0 || yTwips < 0 || yTwips > SwatchSize)
        return -1;
    const int index = xTwips / SwatchStep;
    if (index >= count || xTwips - index * SwatchStep > SwatchSize)
        return -1;
    return index;
}

bool addSavedColour(ColourSettings& colours, quint32 value) {
    const int count = qBound(0, int(colours.count), ColourSettings::MaxSaved);
    for (int i = 0; i < count; ++i) {
        if (quint32(colours.saved[i]) == value)
            return false;
    }
    if (count < ColourSettings::MaxSaved) {
        colours.saved[count] = qint32(value);
        colours.count = qint16(count + 1);
        return true;
    }
    for (int i = 0; i + 1 < count; ++i)
        colours.saved[i] = colours.saved[i + 1];
    colours.saved[count - 1] = qint32(value);
    return true;
}

void removeSavedColour(ColourSettings& colours, int index) {
    const int count = qBound(0, int(colours.count), ColourSettings::MaxSaved);
    if (index < 0 || index >= count)
        return;
    for (int i = index; i + 1 < count; ++i)
        colours.saved[i] = colours.saved[i + 1];
    colours.saved[count - 1] = 0;
    colours.count = qint16(count - 1);
    colours.selected = qint16(qBound(0, int(colours.selected), qMax(0, count - 2)));
}

void clearSavedColours(ColourSettings& colours) {
    colours.count = 0;
    colours.selected = 0;
    colours.saved.fill(0);
}

Rgb scrollBarValues(quint32 value) {
    if (isSystemColor(value))
        return {255, 255, 255};
    return {int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF)};
}

quint32 mixedColour(const Rgb& c) {
    return rgb(quint32(c.red), quint32(c.green), quint32(c.blue));
}

QString colourWindowCaption(int tab, int target) {
    if (tab == 0)
        return target == 0 ? QStringLiteral("文字カラー") : QStringLiteral("背景カラー");
    return target == 0 ? QStringLiteral("文字カラー詳細") : QStringLiteral("背景カラー詳細");
}

QString colourTargetName(int target) {
    return target == 0 ? QStringLiteral("文字") : QStringLiteral("背景");
}

} // namespace quillo::maker
