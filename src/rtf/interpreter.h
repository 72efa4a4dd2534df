#pragma once

#include "rtf/styles.h"

#include <QByteArrayView>
#include <QStringView>

#include <vector>

// The middle layer of the RTF reader: runs the tokens through a formatting state stack and
// reports the page to a sink as styled text runs, pictures and paragraph ends.
namespace quillo::rtf {

struct Picture;

// A table row as \trowd defines it.
// How one cell of a row looks and joins its neighbours (the words before its \cellx).
struct TableCell {
    bool mergeFirst = false;  // \clmgf: the first of cells merged across
    bool merged = false;      // \clmrg: merged into the cell before it
    bool vMergeFirst = false; // \clvmgf: the first of cells merged down
    bool vMerged = false;     // \clvmrg: merged into the cell above it
    Shading shading;          // \clcbpat, \clcfpat, \clshdng

    bool operator==(const TableCell&) const = default;
};

struct TableRow {
    int left = 0;                 // \trleft: the row's left edge, twips from the margin
    int gap = 0;                  // \trgaph: half the space between the text of two cells
    std::vector<int> cellRights;  // \cellx of each cell in order: its right edge, twips
    std::vector<TableCell> cells; // the same cells' merges and shading
    TableCell nextCell;           // read so far for the cell whose \cellx comes next
};

class Sink {
public:
    virtual ~Sink() = default;
    // Text of the current paragraph: never a paragraph separator; tabs are '\t', \line is
    // U+2028 and a non-breaking space is U+00A0.
    virtual void text(QStringView text, const TextStyle& style) = 0;
    virtual void picture(const Picture& picture, const TextStyle& style) = 0;
    // The current paragraph ends here and has this style; what follows is a new paragraph.
    virtual void paragraph(const ParaStyle& style) = 0;
    // The input ended. The last paragraph has no paragraph mark of its own: it exists when
    // text or a picture came after the last paragraph(), or when there was no paragraph() at all.
    virtual void finish(const ParaStyle& style) = 0;
    // Tables. enterCell(): the paragraph that starts now lies in a table cell; it comes before
    // the paragraph's first text or picture, and before its paragraph() or endCell() when it
    // has none. endCell(): the current paragraph ends as the last one of its cell (a cell
    // ends with it whether or not it had content). endRow(): the cells that came since the
    // last row make a row, which \trowd described as `row`. A table ends where a paragraph
    // starts that is not in a cell.
    virtual void enterCell() = 0;
    virtual void endCell(const ParaStyle& style) = 0;
    virtual void endRow(const TableRow& row) = 0;
    // Whether picture() needs the bytes of the picture (they are not decoded otherwise).
    virtual bool wantsPictureData() const { return true; }
};

// Reads the whole input into the sink. Malformed input ends the page where it stops making sense.
void interpret(QByteArrayView rtf, Sink& sink);

} // namespace quillo::rtf
