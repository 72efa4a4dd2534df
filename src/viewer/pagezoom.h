#pragma once

class QTextDocument;

// The scale the viewer shows pages at. Only the shown copy of a page is scaled: the stored
// page, printing and the file are not affected.
namespace quillo::viewer {

inline constexpr int ZoomNormal = 100;
inline constexpr int ZoomSmallest = 50;
inline constexpr int ZoomLargest = 400;

// The next step up or down from `percent`, within 50 % to 400 %.
int zoomedIn(int percent);
int zoomedOut(int percent);

// Scales the text sizes and pictures of a page just read into `doc` by `percent`.
void scaleShownPage(QTextDocument& doc, int percent);

} // namespace quillo::viewer
