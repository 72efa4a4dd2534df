#include "winsvc/picturelines.h"

#include <QFontMetricsF>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <private/qtextdocument_p.h>
#include <private/qtextdocumentlayout_p.h>

namespace quillo {

namespace {

// Qt's line breaking takes the height of every inline object it reaches into the line being
// filled, even the object that does not fit and goes on to the next line. Just before it
// measures an object for a line it asks the document layout to position it; there, an object
// the line cannot take has no height while that line is measured, and has its own height back
// when the next line, which starts with it, measures it again.
class PictureLineLayout : public QTextDocumentLayout {
public:
    using QTextDocumentLayout::QTextDocumentLayout;

protected:
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

void layOutPicturesByLine(QTextDocument& doc) {
    doc.setDocumentLayout(new PictureLineLayout(&doc));
}

} // namespace quillo
