#include "winsvc/twips.h"

#include <QGuiApplication>
#include <QScreen>

#include <cfenv>
#include <cmath>

namespace quillo {

namespace {
constexpr double TwipsPerInch = 1440.0;
constexpr double DefaultDpi = 96.0;

double logicalDpi(Qt::Orientation orientation) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return DefaultDpi;
    const double dpi = orientation == Qt::Horizontal ? screen->logicalDotsPerInchX()
                                                     : screen->logicalDotsPerInchY();
    return dpi > 0 ? dpi : DefaultDpi;
}
} // namespace

int roundHalfEven(double value) {
    // std::nearbyint follows the current rounding mode, which is round-to-nearest-even
    // unless someone changed it; pin it for the call.
    const int previous = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    std::fesetround(previous);
    return static_cast<int>(rounded);
}

double twipsPerPixel(Qt::Orientation orientation) {
    return TwipsPerInch / logicalDpi(orientation);
}

int twipsToPixels(double twips, double perPixel) {
    return roundHalfEven(twips / perPixel);
}

int twipsToPixels(double twips, Qt::Orientation orientation) {
    return twipsToPixels(twips, twipsPerPixel(orientation));
}

int pixelsToTwips(double pixels, double perPixel) {
    return roundHalfEven(pixels * perPixel);
}

int pixelsToTwips(double pixels, Qt::Orientation orientation) {
    return pixelsToTwips(pixels, twipsPerPixel(orientation));
}

int screenWidthTwips() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? pixelsToTwips(screen->availableGeometry().width(), Qt::Horizontal) : 0;
}

int screenHeightTwips() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? pixelsToTwips(screen->availableGeometry().height(), Qt::Vertical) : 0;
}

} // namespace quillo
