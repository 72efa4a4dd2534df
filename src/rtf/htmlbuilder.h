#pragma once

#include "rtf/htmlwriter.h"
#include "rtf/interpreter.h"
#include "rtf/styles.h"

#include <QSize>
#include <QString>

#include <vector>

// Writes a page as HTML from styled runs and paragraph ends: the common back end of the HTML
// writer over a QTextDocument and of the direct RTF to HTML conversion.
namespace quillo::rtf {

struct Picture;

class HtmlBuilder {
public:
    explicit HtmlBuilder(const HtmlOptions& options);

    void text(QStringView text, const TextStyle& style);
    // shown: the size the picture is shown at in the page, in pixels.
    void picture(const Picture& picture, const TextStyle& style, QSize shown);
    void paragraph(const ParaStyle& style);
    void finish(const ParaStyle& style, bool lastHasContent);
    // Tables, as the reader reports them (Sink): the paragraph that starts now lies in a cell;
    // the current paragraph ends its cell; the row ends, as `row` describes it (merged cells
    // and their shading). A paragraph outside a cell ends the table.
    void enterCell();
    void endCell(const ParaStyle& style);
    void endRow(const TableRow& row);
    HtmlPage take();

private:
    struct OpenList {
        int sequence;
        int level;
        bool ordered;
        int left;      // twips, the indent of its items
        bool itemOpen; // its last item is not closed yet (a nested list may follow)
    };
    struct RunMarkup {
        TextStyle style;
        QString open;
        QString close;
    };
    RunMarkup makeRunMarkup(const TextStyle& style) const;
    void openRun(const TextStyle& style);
    void closeRun();
    void closeListsTo(qsizetype depth);
    void writeParagraph(const ParaStyle& style);
    void closeTableUnlessInCell();
    void endCellText();
    QString tableHtml() const;
    QString addPictureFile(const Picture& picture);

    HtmlOptions options_;
    QString out_;
    QString para_;
    bool runOpen_ = false;
    TextStyle runStyle_;
    QString runClose_;
    std::vector<RunMarkup> runMarkup_; // made for recent styles
    std::vector<OpenList> lists_;
    std::vector<std::pair<int, int>> itemCounts_; // sequence -> items written
    std::vector<HtmlPicture> pictures_;
    // A table is written once it ends, when the spans of its merged cells are known: meanwhile
    // out_ collects the text of the current cell and the page before it waits here.
    struct BufferedRow {
        std::vector<QString> cells;
        TableRow row;
    };
    QString beforeTable_;
    std::vector<BufferedRow> tableRows_;
    std::vector<QString> rowCells_;
    bool tableOpen_ = false;
    bool rowOpen_ = false;
    bool cellOpen_ = false;
    bool inCellParagraph_ = false;
};

} // namespace quillo::rtf
