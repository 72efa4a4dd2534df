#pragma once

class QTextDocument;

namespace quillo {

// Gives `doc` the layout pages are shown and printed with: Qt's document layout, with
//  - pictures placed in running text as a word processor places them: a picture that does not
//    fit after the text before it moves to the next line, and the line it leaves keeps the
//    height of its own text (Qt's own layout made that line as tall as the picture, leaving a
//    blank band above it);
//  - the one-pixel lines of the page's tables (rtf::kTableGridProperty) drawn where Qt's
//    collapsed borders would be, which Qt lays out several times more slowly.
// Only the layout changes; the document's content and formats do not.
void usePageLayout(QTextDocument& doc);

} // namespace quillo
