#include "rtf/tablebuilder.h"

#include "rtf/styles.h"
#include "rtf/units.h"

#include <QAbstractTextDocumentLayout>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <algorithm>

namespace quillo::rtf {
namespace {

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

QTextTableFormat pageTableFormat(int gapTwips, const std::vector<int>& columnTwips) {
    QTextTableFormat f;
    f.setBorder(1);
    f.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    f.setBorderBrush(QColor(Qt::black));
    f.setBorderCollapse(true);
    f.setCellSpacing(0);
    f.setMargin(0);
    f.setCellPadding(twipsToPixels(std::clamp(gapTwips, kMinPaddingTwips, kMaxPaddingTwips)));
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
    const qreal padding = std::max(table.format().cellPadding(), twipsToPixels(kMinPaddingTwips));
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
        table_ = cursor_.insertTable(1, 1, pageTableFormat(0, {}));
        row_ = column_ = usedRows_ = usedColumns_ = 0;
        gap_ = -1;
        columns_.clear();
        inCell_ = false;
    }
    if (inCell_)
        return false;
    // Rows and columns are added in doubling steps: one at a time would make a long table
    // take time growing with the square of its rows.
    if (row_ >= table_->rows())
        table_->appendRows(std::max(table_->rows(), row_ + 1 - table_->rows()));
    if (column_ >= table_->columns())
        table_->appendColumns(std::max(table_->columns(), column_ + 1 - table_->columns()));
    cursor_ = table_->cellAt(row_, column_).firstCursorPosition();
    usedRows_ = std::max(usedRows_, row_ + 1);
    usedColumns_ = std::max(usedColumns_, column_ + 1);
    inCell_ = true;
    return true;
}

void TableBuilder::endRow(const TableRow& row) {
    if (gap_ < 0)
        gap_ = row.gap;
    // Shaded cells show their colour.
    for (size_t i = 0; table_ && i < row.cells.size() && int(i) < table_->columns(); ++i)
        if (const std::optional<QRgb> color = row.cells[i].shading.color()) {
            QTextTableCell cell = table_->cellAt(row_, int(i));
            QTextTableCellFormat format = cell.format().toTableCellFormat();
            format.setBackground(QColor::fromRgb(*color));
            cell.setFormat(format);
        }
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
    if (table_->rows() > usedRows_)
        table_->removeRows(usedRows_, table_->rows() - usedRows_);
    if (table_->columns() > usedColumns_)
        table_->removeColumns(usedColumns_, table_->columns() - usedColumns_);
    columns_.resize(size_t(usedColumns_), 0);
    table_->setFormat(pageTableFormat(std::max(gap_, 0), columns_));
    cursor_ = table_->lastCursorPosition();
    cursor_.movePosition(QTextCursor::NextBlock);
    cursor_.setBlockFormat(toBlockFormat(ParaStyle{}));
    table_ = nullptr;
}

} // namespace quillo::rtf
