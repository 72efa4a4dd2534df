#pragma once

#include "rtf/interpreter.h"

#include <QRgb>
#include <QTextTableFormat>

#include <vector>

class QTextBlock;
class QTextCursor;
class QTextDocument;
class QTextTable;

namespace quillo::rtf {

// How every table of a page is shown: a plain one-pixel line around each cell, no space
// between cells, the cells' padding from the row's \trgaph (two pixels at least) and the column
// widths from its \cellx edges (0: not given, the column takes what its content needs).
// Qt's own collapsed borders cost more than half of a table's layout, so the lines are drawn
// by the page layout (see kTableGridProperty) where Qt's would be: the format leaves room for
// them in the cells' padding and in its margins, and places every cell and its text exactly as
// a table with Qt's collapsed one-pixel borders.
QTextTableFormat pageTableFormat(int gapTwips, const std::vector<int>& columnTwips);

// Custom table property of a table made by pageTableFormat(): its lines are drawn by the page
// layout, not by Qt.
constexpr int kTableGridProperty = QTextFormat::UserProperty + 0x5182;

// The padding between a cell's lines and its text (pixels), as \trgaph gives it.
qreal cellPaddingOf(const QTextTableFormat& format);

// Gives the tables of `doc` whose lines the page layout draws Qt's own collapsed borders in the
// same places, for a layout that does not draw them: pages broken for printing, HTML copied
// to other programs.
void useQtTableBorders(QTextDocument& doc);

// The column widths of a table in twips, as \cellx needs them: fixed widths as they are,
// percentages of the page width and widths left to the content as an equal share of what the
// fixed columns leave (pageWidthTwips: the width the page wraps at).
std::vector<int> columnTwipsOf(const QTextTable& table, int pageWidthTwips);

// Qt lays a table out whole (every cell several times over, some tens of microseconds each), so a
// page shown while it is read gets its long tables as consecutive tables of about this many cells
// each: every slice of the load then lays out a bounded part of the page. RTF has no table
// object, only consecutive rows, so the parts write back as the one table they were read from.
constexpr int kCellsPerShownTable = 3000;

// True when a table of `rows` complete rows of at most `columns` cells is long enough to be
// continued in a table of its own from its next row on.
inline bool tablePartIsFull(int rows, int columns) {
    return rows > 0 && columns > 0 && rows >= (kCellsPerShownTable + columns - 1) / columns;
}

// Custom block property of the empty paragraph Qt needs between two consecutive tables, when the
// second continues the rows of the first: it takes no room and is never written back.
constexpr int kTableSeamProperty = QTextFormat::UserProperty + 0x5181;

// True when `block` is the empty paragraph between two parts of one table.
bool isTableSeam(const QTextBlock& block);

// Builds QTextTables from the reader's table events at the cursor of the sink that builds the
// page. Rows and columns grow as cells arrive (a row with more cells than the ones before it
// widens the table); what was allocated ahead and not used is removed when the table ends.
class TableBuilder {
public:
    explicit TableBuilder(QTextCursor& cursor) : cursor_(cursor) {}

    bool isOpen() const { return table_ != nullptr; }
    // Puts the cursor into the cell the next content belongs to, starting a table after the
    // cursor's paragraph when none is open. True when the cursor moved into a new, empty cell;
    // false when it stays in the cell it is in.
    bool enterCell();
    void endCell() {
        inCell_ = false;
        ++column_;
    }
    void endRow(const TableRow& row);
    // Ends the table: the cursor moves into the empty paragraph that follows it.
    void close();
    // True when the open table holds enough complete rows to be continued in a table of its own.
    bool isFull() const { return table_ && tablePartIsFull(row_, usedColumns_); }
    // Ends the open table as close() does, the next row to come continuing its rows in a table
    // of its own, which keeps the row properties read so far. The paragraph between the two is
    // marked as their seam once that table starts; forget() leaves it an ordinary paragraph.
    void closeToContinue();
    // Content that is no table cell came after the table closed: no table continues it.
    void forget() { continues_ = false; }

private:
    QTextCursor& cursor_;
    QTextTable* table_ = nullptr;
    int row_ = 0;
    int column_ = 0;
    int usedRows_ = 0;
    int usedColumns_ = 0;
    int cursorRow_ = 0; // the cell the cursor is in
    int cursorColumn_ = 0;
    bool inCell_ = false;
    bool continues_ = false;   // the next table continues the rows of the last one
    bool part_ = false;        // the open table continues the rows of the last one
    int gap_ = -1;             // \trgaph of the first row
    std::vector<int> columns_; // twips per column, 0: not given
    struct ShadedCell {
        int row;
        int column;
        QRgb color;
    };
    std::vector<ShadedCell> shaded_; // of the open table
};

} // namespace quillo::rtf
