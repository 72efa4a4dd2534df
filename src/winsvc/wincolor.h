#pragma once

#include <QColor>
#include <QPalette>
#include <QtGlobal>

namespace quillo {

// Windows colour values: 0x00BBGGRR, or with the top bit set a system colour whose index is
// in the low bits (0x80000005 is the window background). Documents and settings keep them
// as they are; only drawing turns them into QColor.
constexpr quint32 SystemColorFlag = 0x80000000u;
constexpr quint32 SystemWindowColor = SystemColorFlag | 5;
constexpr quint32 SystemWindowTextColor = SystemColorFlag | 8;

constexpr bool isSystemColor(quint32 value) {
    return (value & SystemColorFlag) != 0;
}

// The palette role that shows a system colour index; indexes Windows does not define fall
// back to the window colour.
QPalette::ColorRole systemColorRole(int index);

// The colour to draw for a Windows colour value; system colours come from `palette`.
QColor windowsColorToQColor(quint32 value, const QPalette& palette);
// Same, with the application's palette.
QColor windowsColorToQColor(quint32 value);

// The colour for text that has no colour of its own on `background`: `preferred` (the
// palette's text colour) where it can be read, otherwise black or white, whichever stands out
// more. A page with a light background of its own stays readable under a dark palette.
QColor readableTextColor(const QColor& background, const QColor& preferred);

// The 0x00BBGGRR value of a colour (alpha is dropped).
quint32 qColorToWindowsColor(const QColor& color);

} // namespace quillo
