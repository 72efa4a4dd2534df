#pragma once

#include "maker/common/settingsfile.h"

class QWidget;

// Window positions and sizes in twips, as the settings keep them: Top and Left of the
// window's frame, Height and Width of the window itself.
namespace quillo::maker {

void setTwipsGeometry(QWidget* window, const TwipsRect& rect);
TwipsRect twipsGeometry(const QWidget* window);

// Keeps a companion window on a screen of the given size: a negative Top or Left becomes 0;
// a window reaching below the screen moves up (never above it), one reaching past the right
// edge moves left.
void keepCompanionOnScreen(TwipsRect& rect, qint32 screenWidth, qint32 screenHeight);

// Places a tool window at the main window's position plus `offset`, moved onto the screen as
// a companion window is, and stores the offsets that result.
void placeAtOffset(QWidget* window, const QWidget* main, DialogOffset& offset);
// Stores where a tool window stands relative to the main window (not while minimised).
void storeOffset(const QWidget* window, const QWidget* main, DialogOffset& offset);

} // namespace quillo::maker
