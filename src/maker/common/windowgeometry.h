#pragma once

#include "maker/common/settingsfile.h"

class QWidget;

// Window positions and sizes in twips, as the settings keep them: Top and Left of the
// window's frame, Height and Width of its client area (see TwipsRect).
namespace quillo::maker {

void setTwipsGeometry(QWidget* window, const TwipsRect& rect);
TwipsRect twipsGeometry(const QWidget* window);

// Keeps a companion window on a screen of the given size: a negative Top or Left becomes 0;
// a window whose frame reaches below the screen moves up (never above it), one reaching past
// the right edge moves left.
void keepCompanionOnScreen(TwipsRect& rect, qint32 screenWidth, qint32 screenHeight,
                           const FrameMargins& frame = {});

// A rule that moves a window placement onto a screen of the given size.
using OnScreenRule = void (*)(TwipsRect&, qint32 screenWidth, qint32 screenHeight,
                              const FrameMargins&);
// Places `window` at `rect` moved onto the screen by `rule`, with the frame the desktop puts
// around the window (guessed before it is first framed); the placement that results.
TwipsRect placeOnScreen(QWidget* window, TwipsRect rect, OnScreenRule rule);
// Once the desktop first frames a window placed before it was shown, checks its placement
// again with the real frame and moves it onto the screen when it reaches past an edge.
void keepOnScreenWhenFramed(QWidget* window, OnScreenRule rule);

// Places a tool window at the main window's position plus `offset`, moved onto the screen as
// a companion window is, and stores the offsets that result.
void placeAtOffset(QWidget* window, const QWidget* main, DialogOffset& offset);
// Stores where a tool window stands relative to the main window (not while minimised).
void storeOffset(const QWidget* window, const QWidget* main, DialogOffset& offset);
// Keeps a tool window at its offset from the main window, whichever way it is shown or hidden
// (its command, show(), an assistive tool): each showing places it as placeAtOffset does; each
// hiding stores its offset, unless it is minimised or the desktop is still placing it (it then
// stands where it was put).
void keepAtOffset(QWidget* window, const QWidget* main, DialogOffset& offset);

} // namespace quillo::maker
