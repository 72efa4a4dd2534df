#include "rtf/htmlwriter.h"

#include "rtf/htmlbuilder.h"
#include "rtf/interpreter.h"
#include "rtf/picture.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>

#include <unordered_map>

namespace quillo::rtf {
namespace {

// The direct path: interpreter events straight into the HTML builder.
class HtmlSink : public Sink {
public:
    explicit HtmlSink(const HtmlOptions& options) : html_(options) {}

    void text(QStringView text, const TextStyle& style) override {
        html_.text(text, style);
        content_ = true;
    }
    void picture(const Picture& picture, const TextStyle& style) override {
        html_.picture(picture, style, displaySize(picture, QImage()));
        content_ = true;
    }
    void paragraph(const ParaStyle& style) override {
        html_.paragraph(style);
        content_ = false;
        any_ = true;
    }
    void finish(const ParaStyle& style) override { html_.finish(style, content_ || !any_); }
    QString take() { return html_.take(); }

private:
    HtmlBuilder html_;
    bool content_ = false;
    bool any_ = false;
};

} // namespace

QString writeHtml(const QTextDocument& doc, const HtmlOptions& options) {
    HtmlBuilder html(options);
    std::unordered_map<const QTextList*, int> sequences;
    const QFont defaultFont = doc.defaultFont();
    ParaStyle last;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const QTextList* list = block.textList();
        const QTextListFormat listFormat = list ? list->format() : QTextListFormat();
        ParaStyle para =
            paraStyleOf(block.blockFormat(), list ? &listFormat : nullptr, doc.indentWidth());
        if (list)
            para.listSequence =
                sequences.try_emplace(list, int(sequences.size()) + 1).first->second;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            const TextStyle style = textStyleOf(format, defaultFont);
            if (format.isImageFormat()) {
                const QTextImageFormat image = format.toImageFormat();
                const Picture picture = pictureOf(doc, image);
                const QSize shown(qRound(image.width()), qRound(image.height()));
                for (qsizetype i = 0; i < fragment.length(); ++i)
                    html.picture(picture, style, shown);
            } else {
                html.text(fragment.text(), style);
            }
        }
        if (block.next().isValid())
            html.paragraph(para);
        else
            last = para;
    }
    html.finish(last, true);
    return html.take();
}

QString rtfToHtml(QByteArrayView rtf, const HtmlOptions& options) {
    HtmlSink sink(options);
    interpret(rtf, sink);
    return sink.take();
}

} // namespace quillo::rtf
