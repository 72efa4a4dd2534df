#include "viewer/windowgeometry.h"

#include "winsvc/twips.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QWidget>

namespace quillo::viewer {

QRect pixelsOf(const QRect& twips) {
    return QRect(
        twipsToPixels(twips.left(), Qt::Horizontal), twipsToPixels(twips.top(), Qt::Vertical),
        twipsToPixels(twips.width(), Qt::Horizontal), twipsToPixels(twips.height(), Qt::Vertical));
}

WindowRect measuredWindowRect(const QWidget& window, const DisplaySettings& known) {
    const double h = twipsPerPixel(Qt::Horizontal);
    const double v = twipsPerPixel(Qt::Vertical);
    return {twipsKeeping(window.y(), known.windowTop, v),
            twipsKeeping(window.x(), known.windowLeft, h),
            twipsKeeping(window.height(), known.windowHeight, v),
            twipsKeeping(window.width(), known.windowWidth, h)};
}

void applyWindowRect(QWidget& window, const WindowRect& r) {
    window.move(twipsToPixels(r.left, Qt::Horizontal), twipsToPixels(r.top, Qt::Vertical));
    window.resize(twipsToPixels(r.width, Qt::Horizontal),
                  twipsToPixels(roundedDownHeight(r.height), Qt::Vertical));
}

int steppedHeight(int pixels) {
    const double v = twipsPerPixel(Qt::Vertical);
    return twipsToPixels(roundedDownHeight(pixelsToTwips(pixels, v)), v);
}

void waitForDesktop(const QWidget& window) {
    if (!window.isVisible())
        return;
    constexpr qint64 StillMs = 100;
    constexpr qint64 MostMs = 1000;
    QElapsedTimer total;
    total.start();
    QElapsedTimer still;
    still.start();
    QRect last = window.frameGeometry();
    Qt::WindowStates lastState = window.windowState();
    while (total.elapsed() < MostMs && still.elapsed() < StillMs) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
        if (window.frameGeometry() != last || window.windowState() != lastState) {
            last = window.frameGeometry();
            lastState = window.windowState();
            still.restart();
        }
    }
}

} // namespace quillo::viewer
