#include "rtf/htmlwriter.h"

#include "rtf/docwalk.h"
#include "rtf/htmlbuilder.h"
#include "rtf/interpreter.h"
#include "rtf/picture.h"

#include <QTextDocument>

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
    void enterCell() override { html_.enterCell(); }
    void endCell(const ParaStyle& style) override {
        html_.endCell(style);
        content_ = false;
        any_ = true;
    }
    void endRow(const TableRow& row) override { html_.endRow(row); }
    HtmlPage take() { return html_.take(); }

private:
    HtmlBuilder html_;
    bool content_ = false;
    bool any_ = false;
};

} // namespace

HtmlPage writeHtml(const QTextDocument& doc, const HtmlOptions& options) {
    HtmlBuilder html(options);
    const std::vector<DocParagraph> paras = paragraphsOf(doc);
    if (paras.empty())
        html.finish(ParaStyle{}, false);
    TableRow row; // of the table row being written
    for (size_t i = 0; i < paras.size(); ++i) {
        const DocParagraph& para = paras[i];
        if (para.row)
            row = *para.row;
        if (para.style.inTable)
            html.enterCell();
        for (const DocRun& run : para.runs) {
            if (run.picture)
                html.picture(*run.picture, run.style, displaySize(*run.picture, QImage()));
            else
                html.text(run.text, run.style);
        }
        if (para.endsCell) {
            html.endCell(para.style);
            if (para.endsRow)
                html.endRow(row);
            if (i + 1 == paras.size())
                html.finish(ParaStyle{}, false);
        } else if (i + 1 < paras.size()) {
            html.paragraph(para.style);
        } else {
            html.finish(para.style, true);
        }
    }
    return html.take();
}

HtmlPage rtfToHtml(QByteArrayView rtf, const HtmlOptions& options) {
    HtmlSink sink(options);
    interpret(rtf, sink);
    return sink.take();
}

} // namespace quillo::rtf
