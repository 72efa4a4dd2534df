#pragma once

#include "rtf/picture.h"
#include "rtf/styles.h"

#include <optional>
#include <vector>

class QTextDocument;

// A QTextDocument as the writers see it: paragraphs of styled runs, with list paragraphs
// numbered by list (listSequence) in document order.
namespace quillo::rtf {

struct DocRun {
    TextStyle style;
    QString text;                   // empty for a picture
    std::optional<Picture> picture; // one picture per run
};

struct DocParagraph {
    ParaStyle style;
    std::vector<DocRun> runs;
};

std::vector<DocParagraph> paragraphsOf(const QTextDocument& doc);

} // namespace quillo::rtf
