#pragma once

#include "rtf/interpreter.h"

#include <QRgb>
#include <QTextTableFormat>

#include <vector>

class QTextCursor;
class QTextTable;

namespace quillo::rtf {

// How every table of a page is shown: a plain one-pixel border around each cell, no space
// between cells, the cells' padding from the row's \trgaph (two pixels at least) and the column
// widths from its \cellx edges (0: not given, the column takes what its content needs).
QTextTableFormat pageTableFormat(int gapTwips, const std::vector<int>& columnTwips);

// The column widths of a table in twips, as \cellx needs them: fixed widths as they are,
// percentages of the page width and widths left to the content as an equal share of what the
// fixed columns leave (pageWidthTwips: the width the page wraps at).
std::vector<int> columnTwipsOf(const QTextTable& table, int pageWidthTwips);

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
