#include "rtf/rtfreader.h"

#include "rtf/interpreter.h"
#include "rtf/picture.h"
#include "rtf/tablebuilder.h"
#include "rtf/tokenizer.h"

#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextList>
#include <QTextOption>

#include <algorithm>
#include <chrono>
#include <functional>
#include <unordered_map>
#include <utility>
#include <vector>

namespace quillo::rtf {
namespace {

// Builds the page in a QTextDocument. A paragraph's block is created when its first content
// arrives, so the paragraph mark of the last paragraph adds no empty block. The whole page is
// one edit block: the document is laid out once at its end, not after every run (which made a
// paragraph of many short runs take time growing with the square of their number).
//
// With a `between` callback the edit block is closed about every `period` of work, at the start
// of a paragraph outside any table, and the callback runs with the document complete as far as
// it came. When it answers false, nothing more is added. Long tables are then read as
// consecutive tables of bounded cells, the edit block closed after each.
class DocumentSink : public Sink {
public:
    DocumentSink(QTextDocument& doc, const std::function<bool()>& between,
                 std::chrono::milliseconds period)
        : doc_(doc), cursor_(&doc), between_(between), period_(period) {
        cursor_.beginEditBlock();
        if (between_)
            slice_.start();
    }
    ~DocumentSink() override { cursor_.endEditBlock(); }

    void text(QStringView text, const TextStyle& style) override {
        if (stopped_)
            return;
        startContent();
        cursor_.insertText(text.toString(), formatOf(style));
        if (!wrapsAnywhere_)
            measureWords(text);
    }

    void picture(const Picture& picture, const TextStyle& style) override {
        if (stopped_)
            return;
        startContent();
        QTextCharFormat format = formatOf(style);
        format.merge(addPicture(doc_, picture, &pictureBudget_));
        const QTextImageFormat image = format.toImageFormat();
        tallestPicture_ = std::max(tallestPicture_, image.height());
        cursor_.insertImage(image);
    }

    void paragraph(const ParaStyle& style) override {
        if (stopped_)
            return;
        leaveTableUnlessInCell();
        inCellParagraph_ = false;
        if (needBlock_)
            cursor_.insertBlock();
        apply(style);
        needBlock_ = true;
        hasContent_ = false;
        anyParagraph_ = true;
        wordLength_ = 0;
        if (!tables_.isOpen())
            addHeight(style);
        if (between_ && !stopped_ && !tables_.isOpen() && slice_.elapsed() >= period_.count())
            pause();
    }

    void finish(const ParaStyle& style) override {
        if (stopped_)
            return;
        if (tables_.isOpen()) { // the page ends inside a table
            if (inCellParagraph_ && hasContent_)
                apply(style);
            inCellParagraph_ = false;
            leaveTableUnlessInCell();
            return;
        }
        if (hasContent_ || !anyParagraph_)
            apply(style);
    }

    void enterCell() override {
        if (stopped_)
            return;
        if (tables_.enterCell()) {
            needBlock_ = false;
            hasContent_ = false;
        }
        inCellParagraph_ = true;
    }

    void endCell(const ParaStyle& style) override {
        if (stopped_)
            return;
        enterCell();
        if (needBlock_) // the cell's last paragraph is an empty one after others
            cursor_.insertBlock();
        apply(style);
        tables_.endCell();
        inCellParagraph_ = false;
        needBlock_ = true;
        hasContent_ = false;
        anyParagraph_ = true;
    }

    void endRow(const TableRow& row) override {
        if (stopped_)
            return;
        tables_.endRow(row);
        if (!between_ || !tables_.isFull())
            return;
        // A long table read in slices goes on in a table of its own, laid out now with what this
        // slice read: Qt lays a table out whole, and anew whenever rows are added to it.
        tables_.closeToContinue();
        needBlock_ = false;
        hasContent_ = false;
        pause();
    }

private:
    // Lets the document lay out what came so far and the caller do its work in between.
    void pause() {
        cursor_.endEditBlock();
        stopped_ = !between_();
        cursor_.beginEditBlock();
        slice_.start();
    }

    // Qt's layout of a page makes no more progress once a line lies 8,388,607 pixels down (it
    // spins for good, and the window with it). The paragraphs read are at least as tall as
    // their spacing and one line of their last text or their tallest picture; a page whose
    // paragraphs are surely taller than the layout can reach is cut where they get near it.
    void addHeight(const ParaStyle& style) {
        if (recentFormats_.empty())
            formatOf(TextStyle{});
        const auto& [lastStyle, lastFormat] = recentFormats_.front();
        if (!lineStyleKnown_ || !(lineStyle_ == lastStyle)) {
            lineStyle_ = lastStyle;
            lineStyleKnown_ = true;
            lineHeight_ = QFontMetricsF(lastFormat.font().resolve(doc_.defaultFont())).height();
        }
        pageHeight_ += std::max(shownSpacing(style.before), lastSpacingAfter_) +
                       std::max(lineHeight_, tallestPicture_);
        lastSpacingAfter_ = shownSpacing(style.after);
        tallestPicture_ = 0;
        if (pageHeight_ > kTallestPage)
            stopped_ = true;
    }

    // Qt wraps a word wider than the line by laying the line out to the word's end first, then
    // again breaking anywhere: a word of many thousand characters costs the square of its
    // length, and far more when it has many formatting runs. A page holding such a word (no
    // writer's text has one) is wrapped anywhere instead, which costs the length of each line.
    void measureWords(QStringView text) {
        for (const QChar c : text) {
            // Blanks and ideographic scripts (from CJK radicals on) are where lines may break.
            if (c.isSpace() || c.unicode() >= 0x2E80)
                wordLength_ = 0;
            else if (++wordLength_ > kLongestWrappedWord)
                break;
        }
        if (wordLength_ <= kLongestWrappedWord)
            return;
        QTextOption option = doc_.defaultTextOption();
        option.setWrapMode(QTextOption::WrapAnywhere);
        doc_.setDefaultTextOption(option);
        wrapsAnywhere_ = true;
    }

    // Content that is not in a cell ends the table before it; it goes into the paragraph that
    // follows the table.
    void leaveTableUnlessInCell() {
        if (inCellParagraph_)
            return;
        if (!tables_.isOpen()) {
            tables_.forget();
            return;
        }
        tables_.close();
        needBlock_ = false;
        hasContent_ = false;
    }

    void startContent() {
        leaveTableUnlessInCell();
        if (needBlock_) {
            cursor_.insertBlock();
            needBlock_ = false;
        }
        hasContent_ = true;
    }

    // A page's runs take turns among a few styles (plain, bold, italic, ...): the formats of
    // the styles met last are kept, the last used first, so that switching back to one makes
    // no new format.
    const QTextCharFormat& formatOf(const TextStyle& style) {
        auto known = std::find_if(recentFormats_.begin(), recentFormats_.end(),
                                  [&](const auto& recent) { return recent.first == style; });
        if (known == recentFormats_.end()) {
            if (recentFormats_.size() >= kRecentFormats)
                recentFormats_.pop_back();
            recentFormats_.emplace(recentFormats_.begin(), style, toCharFormat(style));
        } else {
            std::rotate(recentFormats_.begin(), known, known + 1);
        }
        return recentFormats_.front().second;
    }

    void apply(const ParaStyle& style) {
        if (!style.isListItem()) {
            // A new block takes the format of the one before it, so a page of paragraphs
            // alike (the usual case, and a page of a million of them) sets it once.
            if (haveBlockStyle_ && style == blockStyle_ &&
                cursor_.block().blockFormatIndex() == blockFormatIndex_)
                return;
            cursor_.setBlockFormat(toBlockFormat(style));
            blockStyle_ = style;
            blockFormatIndex_ = cursor_.block().blockFormatIndex();
            haveBlockStyle_ = true;
            return;
        }
        cursor_.setBlockFormat(toBlockFormat(style));
        auto [it, added] = lists_.try_emplace(style.listSequence, nullptr);
        if (added || !it->second)
            it->second = cursor_.createList(toListFormat(style));
        else
            it->second->add(cursor_.block());
    }

    QTextDocument& doc_;
    QTextCursor cursor_;
    const std::function<bool()>& between_;
    const std::chrono::milliseconds period_;
    QElapsedTimer slice_;
    bool stopped_ = false;
    bool needBlock_ = false;
    bool hasContent_ = false;
    bool anyParagraph_ = false;
    static constexpr std::size_t kRecentFormats = 8;
    std::vector<std::pair<TextStyle, QTextCharFormat>> recentFormats_; // the last used first
    std::unordered_map<int, QTextList*> lists_;
    bool haveBlockStyle_ = false;
    ParaStyle blockStyle_; // the last paragraph style set, with the format it gave the block
    int blockFormatIndex_ = -1;
    PictureBudget pictureBudget_; // what this page's pictures may allocate
    TableBuilder tables_{cursor_};
    bool inCellParagraph_ = false; // enterCell() came for the paragraph being read
    static constexpr int kLongestWrappedWord = 2000;
    static constexpr qreal kTallestPage = 8'000'000; // pixels
    qreal pageHeight_ = 0; // what the paragraphs read take at least, pixels
    qreal lastSpacingAfter_ = 0;
    qreal tallestPicture_ = 0; // in the paragraph being read
    bool lineStyleKnown_ = false;
    TextStyle lineStyle_; // the style lineHeight_ is the height of
    qreal lineHeight_ = 0;
    int wordLength_ = 0; // characters since the last place a line may break
    bool wrapsAnywhere_ = false;
};

// The text QTextDocument::toPlainText() gives for the page DocumentSink builds: paragraphs
// joined by line ends, a table as the paragraphs of its cells row by row (every row as wide as
// the widest), with the paragraph before it and the one after it on lines of their own.
class PlainTextSink : public Sink {
public:
    PlainTextSink(qsizetype sizeHint, LongTables tables) : tables_(tables) {
        out_.reserve(sizeHint);
    }

    void text(QStringView text, const TextStyle&) override {
        startContent();
        QString& to = *target_;
        const qsizetype start = to.size();
        to.append(text);
        for (QChar *c = to.data() + start, *end = to.data() + to.size(); c != end; ++c) {
            if (c->unicode() == QChar::LineSeparator)
                *c = u'\n';
            else if (c->unicode() == QChar::Nbsp)
                *c = u' ';
        }
    }

    void picture(const Picture&, const TextStyle&) override {
        startContent();
        target_->append(QChar(QChar::ObjectReplacementCharacter));
    }

    void paragraph(const ParaStyle&) override {
        leaveTableUnlessInCell();
        inCellParagraph_ = false;
        if (needBreak_)
            target_->append(u'\n');
        needBreak_ = true;
    }

    void finish(const ParaStyle&) override {
        inCellParagraph_ = false;
        leaveTableUnlessInCell();
    }
    bool wantsPictureData() const override { return false; }

    void enterCell() override {
        inCellParagraph_ = true;
        if (inCell_)
            return;
        if (rows_.size() <= row_)
            rows_.resize(row_ + 1);
        std::vector<QString>& cells = rows_[row_];
        if (cells.size() <= column_)
            cells.resize(column_ + 1);
        columns_ = std::max(columns_, cells.size());
        target_ = &cells[column_];
        needBreak_ = false;
        inCell_ = true;
    }

    void endCell(const ParaStyle&) override {
        enterCell();
        if (needBreak_)
            target_->append(u'\n');
        needBreak_ = false;
        inCell_ = false;
        inCellParagraph_ = false;
        ++column_;
    }

    void endRow(const TableRow&) override {
        if (rows_.empty())
            return; // a row mark with no table open adds no row
        inCell_ = false;
        column_ = 0;
        ++row_;
        // A long table is shown as consecutive tables, one empty paragraph between two.
        if (tables_ == LongTables::InParts && tablePartIsFull(int(row_), int(columns_)))
            leaveTableUnlessInCell();
    }

    QString take() { return std::move(out_); }

private:
    void startContent() {
        leaveTableUnlessInCell();
        if (needBreak_) {
            target_->append(u'\n');
            needBreak_ = false;
        }
    }

    void leaveTableUnlessInCell() {
        if (rows_.empty() || inCellParagraph_)
            return;
        for (const std::vector<QString>& cells : rows_) {
            for (size_t c = 0; c < columns_; ++c) {
                out_.append(u'\n');
                if (c < cells.size())
                    out_.append(cells[c]);
            }
        }
        out_.append(u'\n');
        rows_.clear();
        row_ = column_ = columns_ = 0;
        inCell_ = false;
        target_ = &out_;
        needBreak_ = false;
    }

    const LongTables tables_;
    QString out_;
    QString* target_ = &out_; // the page, or the cell being read
    bool needBreak_ = false;
    std::vector<std::vector<QString>> rows_; // the open table's cells
    size_t row_ = 0;
    size_t column_ = 0;
    size_t columns_ = 0;
    bool inCell_ = false;
    bool inCellParagraph_ = false;
};

} // namespace

void readRtf(QByteArrayView rtf, QTextDocument& doc) {
    readRtf(rtf, doc, {}, std::chrono::milliseconds(0));
}

void readRtf(QByteArrayView rtf, QTextDocument& doc, const std::function<bool()>& between,
             std::chrono::milliseconds period) {
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    doc.clear();
    {
        DocumentSink sink(doc, between, period);
        interpret(rtf, sink);
    }
    doc.setUndoRedoEnabled(undo);
}

QString plainText(QByteArrayView rtf, LongTables tables) {
    PlainTextSink sink(rtf.size() / 4, tables);
    interpret(rtf, sink);
    return sink.take();
}

QString rtfProblem(QByteArrayView rtf) {
    if (rtf.isEmpty())
        return QString();
    if (!rtf.startsWith("{\\rtf"))
        return QStringLiteral("does not start with {\\rtf");
    Tokenizer tokens(rtf);
    qsizetype depth = 0;
    Token t;
    for (tokens.next(t); t.type != TokenType::End; tokens.next(t)) {
        if (t.type == TokenType::GroupOpen) {
            ++depth;
        } else if (t.type == TokenType::GroupClose) {
            if (--depth == 0) {
                // Only white space and NUL bytes may follow the final brace.
                for (qsizetype i = tokens.position(); i < rtf.size(); ++i)
                    if (rtf[i] != '\0' && rtf[i] != ' ' && rtf[i] != '\r' && rtf[i] != '\n' &&
                        rtf[i] != '\t')
                        return QStringLiteral("text after the final brace at byte %1").arg(i);
                return QString();
            }
        } else if (t.type == TokenType::Binary && t.param > t.text.size()) {
            return QStringLiteral("\\bin data runs past the end");
        }
    }
    return QStringLiteral("%1 unclosed group(s)").arg(depth);
}

} // namespace quillo::rtf
