#include "maker/common/windowgeometry.h"

#include "winsvc/placement.h"
#include "winsvc/twips.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QVariant>
#include <QWidget>

namespace quillo::maker {

namespace {

// The twips a window was last placed at, with the pixel geometry that gave: while the
// window stays there, reading it back gives those twips and not their rounded pixels, so
// an untouched window reports the values it was given.
constexpr char PlacedTwips[] = "quilloPlacedTwips";
constexpr char PlacedPixels[] = "quilloPlacedPixels";

QRect pixelGeometry(const QWidget* window) {
    return QRect(window->pos(), window->size());
}

// A window manager moves a window being mapped through places of its own (inside the frame
// it is building, or the screen's corner) before the one asked for, and the program hears of
// them late. A window hidden sooner than this after showing was not moved by the writer:
// what it reports then is one of those places, not where it stands.
constexpr qint64 SettleMilliseconds = 500;

class OffsetKeeper : public QObject {
public:
    OffsetKeeper(QWidget* window, const QWidget* main, DialogOffset& offset)
        : QObject(window), m_window(window), m_main(main), m_offset(offset) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Spontaneous showing and hiding come from the desktop (minimising, restoring): the
        // window stays where it is.
        if (watched != m_window || event->spontaneous())
            return false;
        if (event->type() == QEvent::Show) {
            placeAtOffset(m_window, m_main, m_offset);
            m_shown.start();
        } else if (event->type() == QEvent::Hide && placeKnown()) {
            storeOffset(m_window, m_main, m_offset);
        }
        return false;
    }

private:
    bool placeKnown() const {
        if (!desktopFramesWindows())
            return true;
        return isFramed(*m_window) && m_shown.isValid() && m_shown.elapsed() >= SettleMilliseconds;
    }

    QWidget* m_window;
    const QWidget* m_main;
    DialogOffset& m_offset;
    QElapsedTimer m_shown;
};

} // namespace

void setTwipsGeometry(QWidget* window, const TwipsRect& rect) {
    const QPoint corner(twipsToPixels(rect.left, Qt::Horizontal),
                        twipsToPixels(rect.top, Qt::Vertical));
    const QSize size(twipsToPixels(rect.width, Qt::Horizontal),
                     twipsToPixels(rect.height, Qt::Vertical));
    moveFrameTo(*window, corner);
    window->resize(size);
    // A shown window reaches its place when the desktop answers; these are the pixels it
    // reports once there.
    window->setProperty(PlacedTwips, QRect(rect.left, rect.top, rect.width, rect.height));
    window->setProperty(PlacedPixels, QRect(corner, size));
}

TwipsRect twipsGeometry(const QWidget* window) {
    const QRect pixels = pixelGeometry(window);
    if (window->property(PlacedPixels).toRect() == pixels) {
        const QRect placed = window->property(PlacedTwips).toRect();
        return {placed.y(), placed.x(), placed.height(), placed.width()};
    }
    return {pixelsToTwips(pixels.y(), Qt::Vertical), pixelsToTwips(pixels.x(), Qt::Horizontal),
            pixelsToTwips(pixels.height(), Qt::Vertical),
            pixelsToTwips(pixels.width(), Qt::Horizontal)};
}

void keepCompanionOnScreen(TwipsRect& rect, qint32 screenWidth, qint32 screenHeight,
                           const FrameMargins& frame) {
    const TwipsRect outer = outerRect(rect, frame);
    if (rect.top < 0)
        rect.top = 0;
    if (rect.left < 0)
        rect.left = 0;
    if (rect.top + outer.height > screenHeight)
        rect.top = qMax(0, screenHeight - outer.height);
    if (rect.left + outer.width > screenWidth)
        rect.left = screenWidth - outer.width;
}

TwipsRect placeOnScreen(QWidget* window, TwipsRect rect, OnScreenRule rule) {
    rule(rect, screenWidthTwips(), screenHeightTwips(), frameMarginsOf(*window));
    setTwipsGeometry(window, rect);
    return rect;
}

void keepOnScreenWhenFramed(QWidget* window, OnScreenRule rule) {
    whenFramed(window, [window, rule] {
        if (window->windowState() != Qt::WindowNoState)
            return;
        const TwipsRect now = twipsGeometry(window);
        TwipsRect rect = now;
        rule(rect, screenWidthTwips(), screenHeightTwips(), frameMarginsOf(*window));
        // A window that fits stays untouched, so that it keeps the twips it was given.
        if (rect == now)
            return;
        setTwipsGeometry(window, rect);
    });
}

void placeAtOffset(QWidget* window, const QWidget* main, DialogOffset& offset) {
    const TwipsRect home = twipsGeometry(main);
    TwipsRect rect = twipsGeometry(window);
    rect.top = home.top + offset.top;
    rect.left = home.left + offset.left;
    rect = placeOnScreen(window, rect, keepCompanionOnScreen);
    // Once the desktop has framed the window, the place asked for is checked again with the
    // real frame, and set again until the frame stands there. The place the window reports
    // while it is being mapped is not read: it can be one the window manager passes through
    // (inside its frame, or the screen's corner).
    settleFrameAt(window, [window, rect] {
        TwipsRect checked = rect;
        keepCompanionOnScreen(checked, screenWidthTwips(), screenHeightTwips(),
                              frameMarginsOf(*window));
        if (checked != rect)
            setTwipsGeometry(window, checked);
        return QPoint(twipsToPixels(checked.left, Qt::Horizontal),
                      twipsToPixels(checked.top, Qt::Vertical));
    });
    offset.top = qint16(qBound(-32768, rect.top - home.top, 32767));
    offset.left = qint16(qBound(-32768, rect.left - home.left, 32767));
}

void keepAtOffset(QWidget* window, const QWidget* main, DialogOffset& offset) {
    new OffsetKeeper(window, main, offset);
}

void storeOffset(const QWidget* window, const QWidget* main, DialogOffset& offset) {
    if (window->isMinimized())
        return;
    const TwipsRect home = twipsGeometry(main);
    const TwipsRect rect = twipsGeometry(window);
    offset.top = qint16(qBound(-32768, rect.top - home.top, 32767));
    offset.left = qint16(qBound(-32768, rect.left - home.left, 32767));
}

} // namespace quillo::maker
