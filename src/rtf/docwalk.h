#pragma once

#include "rtf/interpreter.h"
#include "rtf/picture.h"
#include "rtf/styles.h"

#include <optional>
#include <vector>

class QTextDocument;

// A QTextDocument as the writers see it: paragraphs of styled runs, with list paragraphs
// numbered by list (listSequence) in document order. A table comes as the paragraphs of its
// cells (style.inTable), row by row and cell by cell.
namespace quillo::rtf {

struct DocRun {
    TextStyle style;
    QString text;                   // empty for a picture
    std::optional<Picture> picture; // one picture per run
};

struct DocParagraph {
    ParaStyle style;
    std::vector<DocRun> runs;
    bool endsCell = false;       // the last paragraph of a table cell
    bool endsRow = false;        // ... of the last cell of its row
    std::optional<TableRow> row; // on a row's first paragraph: the row's cell edges
};

std::vector<DocParagraph> paragraphsOf(const QTextDocument& doc);

} // namespace quillo::rtf
