#pragma once

#include "core/helpdocument.h"
#include "viewer/viewerlayout.h"

#include <QRect>

class QWidget;

// The viewer window's geometry between twips and the pixels of the screen.
namespace quillo::viewer {

// A rectangle in twips as pixels.
QRect pixelsOf(const QRect& twips);

// Where `window` is (its frame's corner) and how large, in twips. A value in `known` that
// shows as the same pixels is kept, so that saved settings survive the round trip.
WindowRect measuredWindowRect(const QWidget& window, const DisplaySettings& known);
// Moves and sizes `window` to `rect`, its height rounded down to whole height steps.
void applyWindowRect(QWidget& window, const WindowRect& rect);
// The height in pixels rounded down to whole height steps.
int steppedHeight(int pixels);

// A shown window changes state and geometry when the desktop answers, not when asked: this
// waits until the window's geometry and state have stayed the same for a moment (at most a
// second), without taking the user's input meanwhile.
void waitForDesktop(const QWidget& window);

} // namespace quillo::viewer
