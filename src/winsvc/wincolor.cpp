#include "winsvc/wincolor.h"

#include <QGuiApplication>

#include <algorithm>
#include <array>
#include <cmath>

namespace quillo {

QPalette::ColorRole systemColorRole(int index) {
    // Indexes of the Windows system colours (COLOR_SCROLLBAR = 0 ... COLOR_MENUBAR = 30),
    // each with the palette role that plays the same part on a Qt desktop.
    static constexpr std::array<QPalette::ColorRole, 31> roles = {
        QPalette::Button,          // 0 scroll bar
        QPalette::Dark,            // 1 desktop
        QPalette::Highlight,       // 2 active caption
        QPalette::Mid,             // 3 inactive caption
        QPalette::Window,          // 4 menu
        QPalette::Base,            // 5 window
        QPalette::Shadow,          // 6 window frame
        QPalette::WindowText,      // 7 menu text
        QPalette::Text,            // 8 window text
        QPalette::HighlightedText, // 9 caption text
        QPalette::Window,          // 10 active border
        QPalette::Window,          // 11 inactive border
        QPalette::Dark,            // 12 application workspace
        QPalette::Highlight,       // 13 highlight
        QPalette::HighlightedText, // 14 highlighted text
        QPalette::Button,          // 15 button face
        QPalette::Mid,             // 16 button shadow
        QPalette::PlaceholderText, // 17 grey text
        QPalette::ButtonText,      // 18 button text
        QPalette::WindowText,      // 19 inactive caption text
        QPalette::Light,           // 20 button highlight
        QPalette::Shadow,          // 21 3-D dark shadow
        QPalette::Midlight,        // 22 3-D light
        QPalette::ToolTipText,     // 23 tooltip text
        QPalette::ToolTipBase,     // 24 tooltip background
        QPalette::Window,          // 25 (not used by Windows)
        QPalette::Link,            // 26 hot-tracked item
        QPalette::Highlight,       // 27 active caption gradient
        QPalette::Mid,             // 28 inactive caption gradient
        QPalette::Highlight,       // 29 menu highlight
        QPalette::Window,          // 30 menu bar
    };
    if (index < 0 || index >= int(roles.size()))
        return QPalette::Window;
    return roles[std::size_t(index)];
}

QColor windowsColorToQColor(quint32 value, const QPalette& palette) {
    if (isSystemColor(value))
        return palette.color(QPalette::Active, systemColorRole(int(value & 0x00FFFFFFu)));
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

QColor windowsColorToQColor(quint32 value) {
    return windowsColorToQColor(value, QGuiApplication::palette());
}

namespace {

// Relative luminance and contrast ratio as the web's accessibility guidelines define them:
// 1 for the same colour, 21 for black on white.
double luminance(const QColor& color) {
    const auto channel = [](double c) {
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = color.toRgb();
    return 0.2126 * channel(rgb.redF()) + 0.7152 * channel(rgb.greenF()) +
           0.0722 * channel(rgb.blueF());
}

double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The contrast the guidelines ask of body text.
constexpr double ReadableContrast = 4.5;

} // namespace

QColor readableTextColor(const QColor& background, const QColor& preferred) {
    if (contrast(background, preferred) >= ReadableContrast)
        return preferred;
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    return contrast(background, black) >= contrast(background, white) ? black : white;
}

quint32 qColorToWindowsColor(const QColor& color) {
    const QColor rgb = color.toRgb();
    return quint32(rgb.red()) | (quint32(rgb.green()) << 8) | (quint32(rgb.blue()) << 16);
}

} // namespace quillo
