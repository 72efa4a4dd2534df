#pragma once

class QTextDocument;

namespace quillo {

// Lays `doc` out as a word processor places pictures in running text: a picture that does
// not fit after the text before it moves to the next line, and the line it leaves keeps the
// height of its own text. Qt's own layout made that line as tall as the picture, leaving a
// blank band above it. Only the layout changes; the document's content and formats do not.
void layOutPicturesByLine(QTextDocument& doc);

} // namespace quillo
