#pragma once

#include "core/twipsrect.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace quillo {

// Places the program's file Open and Save dialogs at a fixed spot relative to its main
// window: while active and installed, every top-level dialog that is shown is moved to the
// main window's top-left corner + (100, 600) twips, keeping its size. The hook counts the
// windows it moved and removes itself once more than 100 were moved, so that a runaway
// stream of dialogs is left where the desktop puts them.
class FileDialogPlacementHook : public QObject {
    Q_OBJECT
public:
    static constexpr int MoveLimit = 100;
    static constexpr int OffsetLeftTwips = 100;
    static constexpr int OffsetTopTwips = 600;

    explicit FileDialogPlacementHook(QObject* parent = nullptr);
    ~FileDialogPlacementHook() override;

    void setTarget(QWidget* mainWindow) { m_target = mainWindow; }
    QWidget* target() const { return m_target; }

    // Set just before a file dialog is shown and cleared right after it returns.
    void setActive(bool active) { m_active = active; }
    bool isActive() const { return m_active; }

    // Starts watching; does nothing when already installed. Resets the move counter.
    void install();
    // Stops watching; does nothing when already removed. Resets the move counter.
    void remove();
    bool isInstalled() const { return m_installed; }
    bool isRemoved() const { return m_removed; }
    int moveCount() const { return m_moves; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isNewDialog(QObject* watched, QEvent* event) const;

    QPointer<QWidget> m_target;
    bool m_installed = false;
    bool m_removed = false;
    bool m_active = false;
    int m_moves = 0;
};

// Where a file dialog goes, in pixels, for a main window whose top-left corner is at
// `mainTopLeftTwips`; halves round to even.
QPoint fileDialogPosition(QPoint mainTopLeftTwips, double twipsPerPixelX, double twipsPerPixelY);

// The calling order around one file dialog: active, target, install on entry; inactive and
// removed on exit, whichever way the dialog ends.
class FileDialogPlacement {
public:
    FileDialogPlacement(FileDialogPlacementHook& hook, QWidget* mainWindow);
    ~FileDialogPlacement();
    FileDialogPlacement(const FileDialogPlacement&) = delete;
    FileDialogPlacement& operator=(const FileDialogPlacement&) = delete;

private:
    FileDialogPlacementHook& m_hook;
};

// The frame the desktop put around a top-level window, in twips. Before the desktop has
// framed it (a window not shown yet), the frame last seen around another window of the
// program, since a desktop frames a program's windows alike; none when no window was framed.
FrameMargins frameMarginsOf(const QWidget& window);
// Whether the desktop has framed the window, so that frameMarginsOf tells its own frame.
bool isFramed(const QWidget& window);
// Whether a window of the program has been seen framed: the desktop has a window manager.
bool desktopFramesWindows();

// Calls `adjust` once, just after the desktop first frames `window` (a window manager does
// so only after the window is shown), so that a placement made with a guessed frame can be
// checked with the real one; for a window framed already, right after the present event.
// Nothing is called on a desktop that never frames windows.
void whenFramed(QWidget* window, std::function<void()> adjust);

// Keeps the frame of a shown top-level window at the corner `place()` tells while the desktop
// takes the window in: a window manager moves a window being framed through places of its own,
// and one placed before it was framed can get its client area, not its frame, at the corner
// asked for. Once the window is framed, after each of its moves, resizes and paints the frame
// is set at `place()` again, `tries` times at most, until it stands there; a window hidden,
// minimised or maximised meanwhile is left alone. Calling it again for the same window starts
// over with the new place.
void settleFrameAt(QWidget* window, std::function<QPoint()> place, int tries = 3);

// Moves a top-level window so that its frame's corner is at `framePixels`; a shown window is
// moved by its frame through its native window.
void moveFrameTo(QWidget& window, QPoint framePixels);

// Puts a top-level window in front of all others (topmost) or back into normal stacking,
// keeping its position and size.
void windowSetPos(QWidget* window, bool topmost);

} // namespace quillo
