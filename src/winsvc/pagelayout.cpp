#include "winsvc/pagelayout.h"

#include "rtf/tablebuilder.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextTable>
#include <private/qtextdocument_p.h>
#include <private/qtextdocumentlayout_p.h>

namespace quillo {

namespace {

class PageLayout : public QTextDocumentLayout {
public:
    using QTextDocumentLayout::QTextDocumentLayout;

    void draw(QPainter* painter, const PaintContext& context) override {
        QTextDocumentLayout::draw(painter, context);
        for (QTextFrame* frame : document()->rootFrame()->childFrames()) {
            const auto* table = qobject_cast<QTextTable*>(frame);
            if (table && table->format().boolProperty(rtf::kTableGridProperty))
                drawLines(*painter, *table, context.clip);
        }
    }

protected:
    // Qt's line breaking takes the height of every inline object it reaches into the line being
    // filled, even the object that does not fit and goes on to the next line. Just before it
    // measures an object for a line it asks the document layout to position it; there, an
    // object the line cannot take has no height while that line is measured, and has its own
    // height back when the next line, which starts with it, measures it again.
    void positionInlineObject(QTextInlineObject item, int posInDocument,
                              const QTextFormat& format) override {
        QTextDocumentLayout::positionInlineObject(item, posInDocument, format);
        if (item.width() <= 0)
            return; // a floating object takes no room in the line
        if (item.ascent() + item.descent() <= 0)
            resizeInlineObject(item, posInDocument, format); // left without height before
        if (movesToNextLine(item, posInDocument)) {
            item.setAscent(0);
            item.setDescent(0);
        }
    }

private:
    // The first of the rows `from` to `to` (excluded) for which `reached` holds, `to` if none:
    // `reached` is false for the rows before some row and true from it on.
    template <typename Reached> static int firstRow(int from, int to, Reached reached) {
        while (from < to) {
            const int middle = from + (to - from) / 2;
            if (reached(middle))
                to = middle;
            else
                from = middle + 1;
        }
        return from;
    }

    QRectF cellRect(const QTextTable& table, int row, int column) const {
        auto* t = const_cast<QTextTable*>(&table);
        return tableCellBoundingRect(t, t->cellAt(row, column));
    }

    // Draws the lines of `table` that cross `clip` (document coordinates; invalid: all) as Qt
    // draws collapsed one-pixel borders: one pixel wide, just above and just left of every
    // cell's edges, and just inside the bottom and right edges of the last row and column.
    // Only the rows in the clip are looked at, so that a long table costs no more to paint
    // than a short one. (The layout is complete when a page is painted: the page's changes are
    // laid out as they are made. Were it not, the cells' places would finish it first.)
    void drawLines(QPainter& painter, const QTextTable& table, const QRectF& clip) const {
        const int rows = table.rows();
        const int columns = table.columns();
        if (rows == 0 || columns == 0)
            return;
        const QRectF first = cellRect(table, 0, 0);
        const QRectF last = cellRect(table, rows - 1, columns - 1);
        const qreal left = first.left() - 1;
        const qreal right = last.right();
        const auto rowTop = [&](int r) { return cellRect(table, r, 0).top(); };
        const auto rowBottom = [&](int r) { return r + 1 < rows ? rowTop(r + 1) : last.bottom(); };
        int from = 0;
        int to = rows - 1;
        if (clip.isValid()) {
            // The first row reaching into the clip, and the last one starting above its end.
            from = firstRow(0, rows, [&](int r) { return rowBottom(r) >= clip.top(); });
            to = firstRow(from, rows, [&](int r) { return rowTop(r) - 1 > clip.bottom(); }) - 1;
            if (from == rows || to < from)
                return;
        }
        const qreal top = rowTop(from);
        const qreal bottom = rowBottom(to);
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        const QBrush line(Qt::black);
        for (int r = from; r <= to; ++r)
            painter.fillRect(QRectF(left, rowTop(r) - 1, right - left, 1), line);
        if (to == rows - 1)
            painter.fillRect(QRectF(left, bottom - 1, right - left, 1), line);
        for (int c = 0; c < columns; ++c)
            painter.fillRect(
                QRectF(cellRect(table, from, c).left() - 1, top - 1, 1, bottom - top + 1), line);
        painter.fillRect(QRectF(right - 1, top - 1, 1, bottom - top + 1), line);
        painter.restore();
    }

    // Whether the line being filled holds text already and cannot take the object after it.
    bool movesToNextLine(const QTextInlineObject& item, int posInDocument) const {
        const QTextBlock block = document()->findBlock(posInDocument);
        const QTextLayout* layout = block.layout();
        if (!layout || layout->lineCount() == 0)
            return false;
        const QTextOption::WrapMode wrap = layout->textOption().wrapMode();
        if (wrap == QTextOption::NoWrap || wrap == QTextOption::ManualWrap)
            return false;
        const QTextLine line = layout->lineAt(layout->lineCount() - 1);
        // The line has taken its text up to the last place it may break; blanks after that
        // place wait to be taken with what follows them. A line that has taken nothing keeps
        // the object however wide it is.
        const int taken = line.textLength();
        if (taken <= 0)
            return false;
        const int object = posInDocument - block.position();
        const qreal waiting = blanksWidth(block, line.textStart() + taken, object);
        return line.naturalTextWidth() + waiting + item.width() > line.width();
    }

    // The width of the blanks in the block from `from` to `to` (positions in the block). A
    // tab counts nothing: its width depends on where it stands, and a width too small here
    // only leaves the line as Qt makes it, where one too large would take a picture's height
    // away on the line that keeps it.
    qreal blanksWidth(const QTextBlock& block, int from, int to) const {
        // The document's own lookup of the text at a position: a cursor would work out its
        // place on the screen, in the line being laid out.
        const QTextDocumentPrivate* text = QTextDocumentPrivate::get(document());
        qreal width = 0;
        for (int i = from; i < to; ++i) {
            const int position = block.position() + i;
            const QChar blank = document()->characterAt(position);
            if (blank == QLatin1Char('\t'))
                continue;
            const QTextCharFormat format =
                text->formatCollection()->charFormat(text->find(position)->format);
            const QFont font = format.font().resolve(document()->defaultFont());
            const QFontMetricsF metrics =
                paintDevice() ? QFontMetricsF(font, paintDevice()) : QFontMetricsF(font);
            width += metrics.horizontalAdvance(blank);
        }
        return width;
    }
};

} // namespace

void usePageLayout(QTextDocument& doc) {
    doc.setDocumentLayout(new PageLayout(&doc));
}

} // namespace quillo
