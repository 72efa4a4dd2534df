#include "rtf/docwalk.h"

#include "rtf/tablebuilder.h"
#include "rtf/units.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

#include <unordered_map>

namespace quillo::rtf {
namespace {

// The width a page wraps at when its document does not say (6.25 inches).
constexpr int kDefaultPageTwips = 9000;

class Walker {
public:
    explicit Walker(const QTextDocument& doc) : doc_(doc), defaultFont_(doc.defaultFont()) {}

    std::vector<DocParagraph> walk() {
        for (QTextBlock block = doc_.begin(); block.isValid();) {
            if (const QTextTable* table = outermostTable(block)) {
                addTable(*table);
                block = doc_.findBlock(table->lastPosition() + 1);
                // The rows of the table after a seam continue this table's.
                if (isTableSeam(block) && outermostTable(block.next()))
                    block = block.next();
                continue;
            }
            paras_.push_back(paragraphOf(block));
            block = block.next();
        }
        return std::move(paras_);
    }

private:
    const QTextTable* outermostTable(const QTextBlock& block) const {
        const QTextTable* table = nullptr;
        for (QTextFrame* frame = doc_.frameAt(block.position()); frame && frame->parentFrame();
             frame = frame->parentFrame())
            if (const auto* t = qobject_cast<const QTextTable*>(frame))
                table = t;
        return table;
    }

    DocParagraph paragraphOf(const QTextBlock& block) {
        DocParagraph para;
        const QTextList* list = block.textList();
        const QTextListFormat listFormat = list ? list->format() : QTextListFormat();
        para.style =
            paraStyleOf(block.blockFormat(), list ? &listFormat : nullptr, doc_.indentWidth());
        if (list)
            para.style.listSequence =
                sequences_.try_emplace(list, int(sequences_.size()) + 1).first->second;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            const TextStyle style = textStyleOf(format, defaultFont_);
            if (format.isImageFormat()) {
                const Picture picture = pictureOf(doc_, format.toImageFormat());
                for (qsizetype i = 0; i < fragment.length(); ++i)
                    para.runs.push_back(DocRun{style, QString(), picture});
                continue;
            }
            if (!para.runs.empty() && !para.runs.back().picture && para.runs.back().style == style)
                para.runs.back().text += fragment.text();
            else
                para.runs.push_back(DocRun{style, fragment.text(), std::nullopt});
        }
        return para;
    }

    // How the place (r, c) of a table joins its neighbours, and its cell's colour: a merged
    // cell starts at its first place and covers the others.
    static TableCell tableCellOf(const QTextTableCell& cell, int r, int c) {
        TableCell t;
        t.mergeFirst = cell.column() == c && cell.columnSpan() > 1;
        t.merged = cell.column() < c;
        t.vMergeFirst = cell.row() == r && cell.rowSpan() > 1;
        t.vMerged = cell.row() < r;
        const QBrush background = cell.format().background();
        if (cell.format().hasProperty(QTextFormat::BackgroundBrush) &&
            background.style() != Qt::NoBrush) {
            t.shading.hasBackground = true;
            t.shading.background = background.color().rgb() | 0xFF000000u;
        }
        return t;
    }

    // The table row by row, cell by cell. A cell's paragraphs include those of tables nested
    // in it; a place that a merged cell covers is an empty cell of its own.
    void addTable(const QTextTable& table) {
        const int pageTwips =
            doc_.textWidth() > 0 ? pixelsToTwips(doc_.textWidth()) : kDefaultPageTwips;
        const std::vector<int> widths = columnTwipsOf(table, pageTwips);
        std::vector<int> rights;
        for (int w : widths)
            rights.push_back((rights.empty() ? 0 : rights.back()) + w);
        const int gap = pixelsToTwips(cellPaddingOf(table.format()));
        for (int r = 0; r < table.rows(); ++r) {
            const size_t rowStart = paras_.size();
            std::vector<TableCell> cells;
            for (int c = 0; c < table.columns(); ++c) {
                const QTextTableCell cell = table.cellAt(r, c);
                cells.push_back(tableCellOf(cell, r, c));
                if (cell.row() == r && cell.column() == c) {
                    const QTextBlock last = cell.lastCursorPosition().block();
                    for (QTextBlock b = cell.firstCursorPosition().block(); b.isValid();
                         b = b.next()) {
                        paras_.push_back(paragraphOf(b));
                        paras_.back().style.inTable = true;
                        if (b == last)
                            break;
                    }
                } else {
                    DocParagraph covered;
                    covered.style.inTable = true;
                    paras_.push_back(std::move(covered));
                }
                paras_.back().endsCell = true;
            }
            paras_.back().endsRow = true;
            paras_[rowStart].row = TableRow{0, gap, rights, std::move(cells), {}};
        }
    }

    const QTextDocument& doc_;
    const QFont defaultFont_;
    std::unordered_map<const QTextList*, int> sequences_;
    std::vector<DocParagraph> paras_;
};

} // namespace

std::vector<DocParagraph> paragraphsOf(const QTextDocument& doc) {
    return Walker(doc).walk();
}

} // namespace quillo::rtf
