#include "rtf/tablebuilder.h"

#include "rtf/styles.h"
#include "rtf/units.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <algorithm>

namespace quillo::rtf {
namespace {

// What a table continuing another moves up by (pixels), see close().
constexpr qreal kPartOverlapPixels = 4;

// Where a table with Qt's collapsed one-pixel borders places its cells and text, against one
// without borders: every cell half a pixel more padding on each side (half of the line
// between two cells), and the table two pixels more margin on each side.
constexpr qreal kLinePaddingPixels = 0.5;
constexpr qreal kLineMarginPixels = 2;

// The space between a cell's border and its text: at least two pixels, so that text never
// touches a border.
constexpr int kMinPaddingTwips = 30;
constexpr int kMaxPaddingTwips = 300;

// The width the layout gives the text of column c (document pixels), measured in a row where
// the column has a cell of its own; negative when no row has one.
qreal columnTextWidth(const QTextTable& table, int c) {
    QAbstractTextDocumentLayout* layout = table.document()->documentLayout();
    for (int r = 0; r < table.rows(); ++r) {
        const QTextTableCell cell = table.cellAt(r, c);
        if (cell.column() == c && cell.columnSpan() == 1)
            return layout->blockBoundingRect(cell.firstCursorPosition().block()).width();
    }
    return -1;
}

} // namespace

qreal cellPaddingOf(const QTextTableFormat& format) {
    return format.cellPadding() -
           (format.boolProperty(kTableGridProperty) ? kLinePaddingPixels : 0);
}

void useQtTableBorders(QTextDocument& doc) {
    for (QTextFrame* frame : doc.rootFrame()->childFrames()) {
        // Pages hold their tables at the top level: the reader takes nested tables as
        // paragraphs of the cell around them.
        auto* table = qobject_cast<QTextTable*>(frame);
        if (!table || !table->format().boolProperty(kTableGridProperty))
            continue;
        QTextTableFormat f = table->format();
        f.clearProperty(kTableGridProperty);
        f.setBorder(1);
        f.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        f.setBorderBrush(QColor(Qt::black));
        f.setBorderCollapse(true);
        f.setCellPadding(f.cellPadding() - kLinePaddingPixels);
        f.setTopMargin(f.topMargin() - kLineMarginPixels);
        f.setBottomMargin(f.bottomMargin() - kLineMarginPixels);
        f.setLeftMargin(f.leftMargin() - kLineMarginPixels);
        f.setRightMargin(f.rightMargin() - kLineMarginPixels);
        table->setFormat(f);
    }
}

bool isTableSeam(const QTextBlock& block) {
    return block.length() == 1 && block.blockFormat().boolProperty(kTableSeamProperty);
}

QTextTableFormat pageTableFormat(int gapTwips, const std::vector<int>& columnTwips) {
    QTextTableFormat f;
    f.setBorder(0);
    f.setBorderCollapse(false);
    f.setCellSpacing(0);
    f.setMargin(kLineMarginPixels);
    f.setCellPadding(twipsToPixels(std::clamp(gapTwips, kMinPaddingTwips, kMaxPaddingTwips)) +
                     kLinePaddingPixels);
    f.setProperty(kTableGridProperty, true);
    f.setAlignment(Qt::AlignLeft);
    QList<QTextLength> widths;
    for (int w : columnTwips)
        widths.append(w > 0 ? QTextLength(QTextLength::FixedLength, twipsToPixels(w))
                            : QTextLength(QTextLength::VariableLength, 0));
    f.setColumnWidthConstraints(widths);
    return f;
}

std::vector<int> columnTwipsOf(const QTextTable& table, int pageWidthTwips) {
    const int columns = table.columns();
    const QList<QTextLength> constraints = table.format().columnWidthConstraints();
    std::vector<int> twips(size_t(columns), 0);
    bool allGiven = true;
    for (int c = 0; c < columns; ++c) {
        const QTextLength length = c < constraints.size() ? constraints[c] : QTextLength();
        if (length.type() == QTextLength::FixedLength)
            twips[size_t(c)] = pixelsToTwips(length.rawValue());
        else if (length.type() == QTextLength::PercentageLength)
            twips[size_t(c)] = int(pageWidthTwips * length.rawValue() / 100);
        allGiven &= twips[size_t(c)] > 0;
    }
    if (allGiven)
        return twips;
    // Widths left to the content: the width the layout gives their text, with the cells'
    // padding and a one-pixel border on each side (and a pixel to spare, so that the text does
    // not wrap anew).
    const qreal padding = std::max(cellPaddingOf(table.format()), twipsToPixels(kMinPaddingTwips));
    const qreal extra = 2 * padding + 3;
    bool measured = true;
    int used = 0;
    int open = 0;
    for (int c = 0; c < columns; ++c) {
        if (twips[size_t(c)] > 0) {
            used += twips[size_t(c)];
            continue;
        }
        ++open;
        const qreal text = columnTextWidth(table, c);
        measured &= text >= 0;
        if (text >= 0)
            twips[size_t(c)] = pixelsToTwips(text + extra);
    }
    if (!measured && open > 0) {
        const int share = std::max((pageWidthTwips - used) / open, 720);
        for (int& w : twips)
            if (w <= 0)
                w = share;
    }
    return twips;
}

bool TableBuilder::enterCell() {
    if (!table_) {
        if (continues_) {
            // The empty paragraph the last table left is the one Qt keeps before this table (Qt
            // lays an empty paragraph between tables out inside their borders); the writer
            // skips it.
            QTextBlockFormat seam = cursor_.blockFormat();
            seam.setProperty(kTableSeamProperty, true);
            cursor_.setBlockFormat(seam);
        } else {
            gap_ = -1;
            columns_.clear();
        }
        part_ = continues_;
        continues_ = false;
        table_ = cursor_.insertTable(1, 1, pageTableFormat(0, {}));
        row_ = column_ = usedRows_ = usedColumns_ = 0;
        cursorRow_ = cursorColumn_ = 0; // insertTable leaves the cursor in the first cell
        shaded_.clear();
        inCell_ = false;
    }
    if (inCell_)
        return false;
    // Qt rebuilds a table's cell grid, at a cost growing with its cells, before every change of
    // its rows or columns and every look-up of a cell by its row and column when text went in
    // since the last one. Rows are added an eighth of the table at a time (one at a time would
    // cost the square of the rows), so that few are left over to remove at the end; columns
    // as rows need them, at most 63 times. Only then is the cell looked up (the cursor may have
    // moved with the cells added at its place).
    const bool addRows = row_ >= table_->rows();
    const bool addColumns = column_ >= table_->columns();
    if (addRows)
        table_->appendRows(std::max(table_->rows() / 8, row_ + 1 - table_->rows()));
    if (addColumns)
        table_->appendColumns(column_ + 1 - table_->columns());
    if (addRows || addColumns) {
        cursor_ = table_->cellAt(row_, column_).firstCursorPosition();
    } else {
        // Cells follow each other row by row as paragraphs of the document, and the cursor is
        // in the last paragraph of the cell it filled; the cells between that one and the next
        // were never entered and are one empty paragraph each.
        const int steps = (row_ - cursorRow_) * table_->columns() + (column_ - cursorColumn_);
        QTextBlock block = cursor_.block();
        for (int i = 0; i < steps && block.isValid(); ++i)
            block = block.next();
        if (block.isValid())
            cursor_.setPosition(block.position());
    }
    cursorRow_ = row_;
    cursorColumn_ = column_;
    usedRows_ = std::max(usedRows_, row_ + 1);
    usedColumns_ = std::max(usedColumns_, column_ + 1);
    inCell_ = true;
    return true;
}

void TableBuilder::endRow(const TableRow& row) {
    if (gap_ < 0)
        gap_ = row.gap;
    // Shaded cells show their colour once the table is complete (looking a cell up now would
    // rebuild the cell grid for every row).
    for (size_t i = 0; table_ && i < row.cells.size(); ++i)
        if (const std::optional<QRgb> color = row.cells[i].shading.color())
            shaded_.push_back({row_, int(i), *color});
    int left = row.left;
    for (size_t i = 0; i < row.cellRights.size(); ++i) {
        const int width = row.cellRights[i] - left;
        left = row.cellRights[i];
        if (columns_.size() <= i)
            columns_.resize(i + 1, 0);
        if (columns_[i] <= 0)
            columns_[i] = std::max(width, 0);
    }
    inCell_ = false;
    column_ = 0;
    ++row_;
}

void TableBuilder::close() {
    if (!table_)
        return;
    // Qt removes rows at a cost growing with the square of the cells removed at once: the
    // rows left over go in small steps.
    constexpr int kRowsRemovedAtOnce = 32;
    while (table_->rows() > usedRows_) {
        const int count = std::min(table_->rows() - usedRows_, kRowsRemovedAtOnce);
        table_->removeRows(table_->rows() - count, count);
    }
    if (table_->columns() > usedColumns_)
        table_->removeColumns(usedColumns_, table_->columns() - usedColumns_);
    columns_.resize(size_t(usedColumns_), 0);
    for (const ShadedCell& shaded : shaded_) {
        if (shaded.row >= table_->rows() || shaded.column >= table_->columns())
            continue;
        QTextTableCell cell = table_->cellAt(shaded.row, shaded.column);
        QTextTableCellFormat format = cell.format().toTableCellFormat();
        format.setBackground(QColor::fromRgb(shaded.color));
        cell.setFormat(format);
    }
    shaded_.clear();
    QTextTableFormat format = pageTableFormat(std::max(gap_, 0), columns_);
    // Qt keeps two tables apart by the room of their outer borders; a table continuing the rows
    // of the one before moves up by it, so that the line under the last row of that one is the
    // line over its first row, as in one table.
    if (part_)
        format.setTopMargin(format.topMargin() - kPartOverlapPixels);
    table_->setFormat(format);
    cursor_ = table_->lastCursorPosition();
    cursor_.movePosition(QTextCursor::NextBlock);
    cursor_.setBlockFormat(toBlockFormat(ParaStyle{}));
    table_ = nullptr;
    continues_ = false;
}

void TableBuilder::closeToContinue() {
    close();
    continues_ = true;
}

} // namespace quillo::rtf
