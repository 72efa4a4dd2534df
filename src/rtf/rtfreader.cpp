#include "rtf/rtfreader.h"

#include "rtf/interpreter.h"
#include "rtf/picture.h"
#include "rtf/tokenizer.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <unordered_map>

namespace quillo::rtf {
namespace {

// Builds the page in a QTextDocument. A paragraph's block is created when its first content
// arrives, so the paragraph mark of the last paragraph adds no empty block. The whole page is
// one edit block: the document is laid out once at its end, not after every run (which made a
// paragraph of many short runs take time growing with the square of their number).
class DocumentSink : public Sink {
public:
    explicit DocumentSink(QTextDocument& doc) : doc_(doc), cursor_(&doc) {
        cursor_.beginEditBlock();
    }
    ~DocumentSink() override { cursor_.endEditBlock(); }

    void text(QStringView text, const TextStyle& style) override {
        startContent();
        cursor_.insertText(text.toString(), formatOf(style));
    }

    void picture(const Picture& picture, const TextStyle& style) override {
        startContent();
        QTextCharFormat format = formatOf(style);
        format.merge(addPicture(doc_, picture, &pictureBudget_));
        cursor_.insertImage(format.toImageFormat());
    }

    void paragraph(const ParaStyle& style) override {
        if (needBlock_)
            cursor_.insertBlock();
        apply(style);
        needBlock_ = true;
        hasContent_ = false;
        anyParagraph_ = true;
    }

    void finish(const ParaStyle& style) override {
        if (hasContent_ || !anyParagraph_)
            apply(style);
    }

private:
    void startContent() {
        if (needBlock_) {
            cursor_.insertBlock();
            needBlock_ = false;
        }
        hasContent_ = true;
    }

    const QTextCharFormat& formatOf(const TextStyle& style) {
        if (!haveFormat_ || !(style == lastStyle_)) {
            lastStyle_ = style;
            lastFormat_ = toCharFormat(style);
            haveFormat_ = true;
        }
        return lastFormat_;
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
    bool needBlock_ = false;
    bool hasContent_ = false;
    bool anyParagraph_ = false;
    bool haveFormat_ = false;
    TextStyle lastStyle_;
    QTextCharFormat lastFormat_;
    std::unordered_map<int, QTextList*> lists_;
    bool haveBlockStyle_ = false;
    ParaStyle blockStyle_; // the last paragraph style set, with the format it gave the block
    int blockFormatIndex_ = -1;
    PictureBudget pictureBudget_; // what this page's pictures may allocate
};

// The text QTextDocument::toPlainText() gives for the page DocumentSink builds.
class PlainTextSink : public Sink {
public:
    explicit PlainTextSink(qsizetype sizeHint) { out_.reserve(sizeHint); }

    void text(QStringView text, const TextStyle&) override {
        startContent();
        const qsizetype start = out_.size();
        out_.append(text);
        for (QChar *c = out_.data() + start, *end = out_.data() + out_.size(); c != end; ++c) {
            if (c->unicode() == QChar::LineSeparator)
                *c = u'\n';
            else if (c->unicode() == QChar::Nbsp)
                *c = u' ';
        }
    }

    void picture(const Picture&, const TextStyle&) override {
        startContent();
        out_.append(QChar(QChar::ObjectReplacementCharacter));
    }

    void paragraph(const ParaStyle&) override {
        if (needBreak_)
            out_.append(u'\n');
        needBreak_ = true;
    }

    void finish(const ParaStyle&) override {}
    bool wantsPictureData() const override { return false; }

    QString take() { return std::move(out_); }

private:
    void startContent() {
        if (needBreak_) {
            out_.append(u'\n');
            needBreak_ = false;
        }
    }

    QString out_;
    bool needBreak_ = false;
};

} // namespace

void readRtf(QByteArrayView rtf, QTextDocument& doc) {
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    doc.clear();
    {
        DocumentSink sink(doc);
        interpret(rtf, sink);
    }
    doc.setUndoRedoEnabled(undo);
}

QString plainText(QByteArrayView rtf) {
    PlainTextSink sink(rtf.size() / 4);
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
