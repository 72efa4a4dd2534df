#include "winsvc/placement.h"

#include "winsvc/twips.h"

#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QWindow>

namespace quillo {

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
