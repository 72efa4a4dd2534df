#pragma once

#include <QByteArrayView>
#include <QTextDocumentFragment>

class QTextDocument;

namespace quillo::rtf {

// What a page keeps of `fragment` (pasted rich text) once it is saved and read again, as the
// page then shows it: the fragment written as RTF and read back, so that formatting a page
// cannot store (line heights, rules, frames, list kinds, merged or nested table cells, sizes
// relative to the default font ...) is already gone or made explicit when it is inserted.
// Pictures that cannot be shown (links to the web) are left out; the others are added to
// `target`, the document the fragment goes into, whose widths it takes. Text without a font of
// its own takes `family` (the one at the caret), sizes relative to the default font are taken
// from the target's default font size.
QTextDocumentFragment storableFragment(const QTextDocumentFragment& fragment, QTextDocument& target,
                                       const QString& family);

// A page (or part of one) read from RTF, to be inserted into `target`; its pictures are added
// to `target`.
QTextDocumentFragment fragmentFromRtf(QByteArrayView rtf, QTextDocument& target);

} // namespace quillo::rtf
