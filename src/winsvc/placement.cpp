#include "winsvc/placement.h"

#include "winsvc/twips.h"

#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QPointer>
#include <QWindow>

namespace quillo {

namespace {

// The frame of the last window seen framed, in pixels.
QMargins& lastFrameSeen() {
    static QMargins margins;
    return margins;
}

QMargins pixelFrameOf(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    return {client.left() - frame.left(), client.top() - frame.top(),
            frame.right() - client.right(), frame.bottom() - client.bottom()};
}

constexpr char FrameWatcherName[] = "quilloFrameWatcher";

// Watches one window until the desktop has framed it, then runs the adjustment once.
class FrameWatcher : public QObject {
public:
    FrameWatcher(QWidget* window, std::function<void()> adjust)
        : QObject(window), m_window(window), m_adjust(std::move(adjust)) {
        setObjectName(QString::fromLatin1(FrameWatcherName));
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (watched != m_window || m_done ||
            (type != QEvent::Move && type != QEvent::Resize && type != QEvent::Show))
            return false;
        if (!isFramed(*m_window))
            return false;
        // The frame is known once the desktop has moved the window into it; the adjustment
        // runs after this event, and the watcher goes, so that it cannot run again.
        m_done = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_window)
                    m_adjust();
                deleteLater();
            },
            Qt::QueuedConnection);
        return false;
    }

private:
    QPointer<QWidget> m_window;
    std::function<void()> m_adjust;
    bool m_done = false;
};

constexpr char FrameSettlerName[] = "quilloFrameSettler";

// Sets a window's frame at its place again after the window's events until it stands there.
class FrameSettler : public QObject {
public:
    explicit FrameSettler(QWidget* window) : QObject(window), m_window(window) {
        setObjectName(QString::fromLatin1(FrameSettlerName));
        window->installEventFilter(this);
    }

    void start(std::function<QPoint()> place, int tries) {
        m_place = std::move(place);
        m_tries = tries;
        if (isFramed(*m_window))
            queueCheck();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (watched == m_window && m_tries > 0 &&
            (type == QEvent::Paint || type == QEvent::Move || type == QEvent::Resize ||
             type == QEvent::Show) &&
            isFramed(*m_window))
            queueCheck();
        return false;
    }

private:
    void queueCheck() {
        if (m_queued)
            return;
        m_queued = true;
        QMetaObject::invokeMethod(
            this, [this] { check(); }, Qt::QueuedConnection);
    }

    void check() {
        m_queued = false;
        if (m_tries <= 0 || m_window->windowState() != Qt::WindowNoState ||
            !m_window->isVisible()) {
            m_tries = 0;
            return;
        }
        // Until the window is on the screen its place is the one the program asked for, not
        // yet one the desktop gave; the frame comes and goes while the window manager takes
        // the window in, at times with its corner on the client area's: the next event looks
        // again.
        const QWindow* handle = m_window->windowHandle();
        if (!handle || !handle->isExposed() || !isFramed(*m_window) ||
            m_window->frameGeometry().topLeft() == m_window->geometry().topLeft())
            return;
        const QPoint corner = m_place();
        if (m_window->frameGeometry().topLeft() == corner) {
            m_tries = 0;
            return;
        }
        // A top-level widget moves by its frame's corner, with the frame the platform knows now.
        --m_tries;
        m_window->move(corner);
    }

    QWidget* m_window;
    std::function<QPoint()> m_place;
    int m_tries = 0;
    bool m_queued = false;
};

} // namespace

FileDialogPlacementHook::FileDialogPlacementHook(QObject* parent) : QObject(parent) {}

FileDialogPlacementHook::~FileDialogPlacementHook() {
    remove();
}

void FileDialogPlacementHook::install() {
    if (m_installed)
        return;
    // Dialogs are shown outside the main window, so the application sees their events.
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(this);
    m_installed = true;
    m_removed = false;
    m_moves = 0;
}

void FileDialogPlacementHook::remove() {
    if (m_removed || !m_installed)
        return;
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
    m_removed = true;
    m_installed = false;
    m_moves = 0;
}

bool FileDialogPlacementHook::isNewDialog(QObject* watched, QEvent* event) const {
    if (event->type() != QEvent::Show || !watched->isWidgetType())
        return false;
    const auto* widget = static_cast<QWidget*>(watched);
    return widget->isWindow() && widget != m_target && qobject_cast<const QDialog*>(widget);
}

bool FileDialogPlacementHook::eventFilter(QObject* watched, QEvent* event) {
    if (!m_active || !m_installed)
        return false;
    if (m_moves > MoveLimit || !m_target) {
        // Too many windows moved, or the main window is gone: let the desktop place them.
        remove();
        return false;
    }
    if (!isNewDialog(watched, event))
        return false;
    ++m_moves;
    auto* dialog = static_cast<QWidget*>(watched);
    const QPoint mainTwips(pixelsToTwips(m_target->x(), Qt::Horizontal),
                           pixelsToTwips(m_target->y(), Qt::Vertical));
    dialog->move(
        fileDialogPosition(mainTwips, twipsPerPixel(Qt::Horizontal), twipsPerPixel(Qt::Vertical)));
    return false;
}

QPoint fileDialogPosition(QPoint mainTopLeftTwips, double twipsPerPixelX, double twipsPerPixelY) {
    using Hook = FileDialogPlacementHook;
    return {twipsToPixels(mainTopLeftTwips.x() + Hook::OffsetLeftTwips, twipsPerPixelX),
            twipsToPixels(mainTopLeftTwips.y() + Hook::OffsetTopTwips, twipsPerPixelY)};
}

FileDialogPlacement::FileDialogPlacement(FileDialogPlacementHook& hook, QWidget* mainWindow)
    : m_hook(hook) {
    m_hook.setActive(true);
    m_hook.setTarget(mainWindow);
    m_hook.install();
}

FileDialogPlacement::~FileDialogPlacement() {
    m_hook.setActive(false);
    m_hook.remove();
}

bool isFramed(const QWidget& window) {
    // While the desktop is still framing a window Qt can report a frame of negative sides.
    const QMargins m = pixelFrameOf(window);
    return window.isWindow() && !m.isNull() && m.left() >= 0 && m.top() >= 0 && m.right() >= 0 &&
           m.bottom() >= 0;
}

bool desktopFramesWindows() {
    return !lastFrameSeen().isNull();
}

FrameMargins frameMarginsOf(const QWidget& window) {
    if (isFramed(window))
        lastFrameSeen() = pixelFrameOf(window);
    const QMargins m = isFramed(window) ? pixelFrameOf(window) : lastFrameSeen();
    return {pixelsToTwips(m.left(), Qt::Horizontal), pixelsToTwips(m.top(), Qt::Vertical),
            pixelsToTwips(m.right(), Qt::Horizontal), pixelsToTwips(m.bottom(), Qt::Vertical)};
}

void whenFramed(QWidget* window, std::function<void()> adjust) {
    if (!window)
        return;
    // Framed already (some desktops frame a window as it is shown): after this event.
    if (isFramed(*window)) {
        QMetaObject::invokeMethod(window, std::move(adjust), Qt::QueuedConnection);
        return;
    }
    // One watcher a window: on a desktop that never frames windows the first one stays.
    if (window->findChild<QObject*>(QString::fromLatin1(FrameWatcherName),
                                    Qt::FindDirectChildrenOnly))
        return;
    new FrameWatcher(window, std::move(adjust));
}

void settleFrameAt(QWidget* window, std::function<QPoint()> place, int tries) {
    if (!window)
        return;
    auto* settler = window->findChild<FrameSettler*>(QString::fromLatin1(FrameSettlerName),
                                                     Qt::FindDirectChildrenOnly);
    if (!settler)
        settler = new FrameSettler(window);
    settler->start(std::move(place), tries);
}

void moveFrameTo(QWidget& window, QPoint framePixels) {
    QWindow* handle = window.windowHandle();
    // Asking for the frame makes the platform look it up again when the desktop has changed
    // it since (mapping a window frames it anew), so that the place asked for below is taken
    // with the frame the window has now.
    if (handle && handle->handle())
        handle->frameMargins();
    if (handle && window.isVisible() && handle->isExposed()) {
        handle->setFramePosition(framePixels);
    } else if (handle && handle->handle()) {
        // A window being shown, or shown before and hidden, keeps its native window. Moving it
        // with QWidget::move would count the frame into its place once now and once more when
        // it is shown; its client area goes inside the frame the desktop will draw instead, as
        // last seen around a window of the program (what Qt keeps of the window's own frame
        // from its last showing can be one the desktop was still building).
        const QMargins frame =
            desktopFramesWindows() || !isFramed(window) ? lastFrameSeen() : pixelFrameOf(window);
        window.setGeometry(
            QRect(framePixels + QPoint(frame.left(), frame.top()), window.geometry().size()));
    } else {
        window.move(framePixels);
    }
}

void windowSetPos(QWidget* window, bool topmost) {
    if (!window)
        return;
    Qt::WindowFlags flags = window->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, topmost);
    if (flags == window->windowFlags())
        return;
    QWindow* handle = window->windowHandle();
    if (!handle) {
        // Not yet on screen: the flag takes effect when the window is created.
        window->setWindowFlags(flags);
        return;
    }
    // QWidget::setWindowFlags would hide and re-create the native window, letting the
    // desktop place it anew; telling the existing window keeps its position and size.
    window->overrideWindowFlags(flags);
    handle->setFlags(flags);
}

} // namespace quillo
