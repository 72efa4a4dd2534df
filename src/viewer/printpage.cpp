#include "viewer/printpage.h"

#include "core/text.h"
#include "rtf/units.h"
#include "winsvc/richtextcontrol.h"

#include <QEventLoop>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QTimer>

#include <cmath>
#include <vector>

namespace quillo::viewer {

namespace {

QString pageOfCount(const QString& prefix, int page, int pageCount) {
    return prefix + numberText(page) + QLatin1Char('/') + numberText(pageCount);
}

// Lets the user interface run for `wait`, so that the box repaints and its button answers.
void pause(std::chrono::milliseconds wait) {
    if (wait.count() <= 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(wait, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

QString printHeaderLine(const QString& fileTitle, int page, int pageCount) {
    return pageOfCount(fileTitle + QStringLiteral("       Page"), page, pageCount);
}

QString printBoxTitle(const QString& fileTitle, int page, int pageCount) {
    return pageOfCount(fileTitle + QStringLiteral("  Page"), page, pageCount);
}

QString printJobTitle(const QString& fileTitle, int page, int pageCount) {
    const QString pages = QStringLiteral("Page %1 of %2").arg(page).arg(pageCount);
    return fileTitle.isEmpty() ? pages : fileTitle + QStringLiteral(" - ") + pages;
}

void preparePrintPage(RichTextControl& control, const QString& header,
                      const std::function<void(int)>& progress) {
    // An empty line in the header's face and size in front of the page.
    control.setSelStart(0);
    SelectionFormat face;
    face.fontName = PrintFontName;
    face.fontSize = PrintHeaderPointSize;
    control.setSelectionFormat(face);
    control.setSelText(QStringLiteral("\n"));

    // The header line in front of that, plain, whatever the page's first paragraph looks like;
    // the empty line below takes the same paragraph format. The face is given again because
    // the control keeps the format of a line break with the paragraph after it.
    control.setSelStart(0);
    SelectionFormat plain = face;
    plain.color = 0x000000;
    plain.underline = false;
    plain.italic = false;
    plain.bold = false;
    plain.alignment = SelectionFormat::AlignLeft;
    plain.bullet = false;
    plain.leftIndent = 0;
    control.setSelectionFormat(plain);
    control.setSelText(header + QLatin1Char('\n'));

    control.setRightMargin(PrintRightMarginTwips);

    // Every paragraph once, however many display lines it has: a paragraph holding line
    // breaks or wrapped lines is moved right as a whole, not once per line.
    // A table moves right as a whole instead: indenting the paragraphs of its cells would
    // narrow every cell by the indent.
    std::vector<int> starts;
    for (QTextBlock block = control.document()->begin(); block.isValid(); block = block.next())
        if (!QTextCursor(block).currentTable())
            starts.push_back(block.position());
    const int length = std::max(control.textLength(), 1);
    // One edit for all paragraphs: the control lays its text out once, not after each one.
    QTextCursor edit(control.document());
    edit.beginEditBlock();
    for (int start : starts) {
        control.setSelStart(start);
        SelectionFormat indent;
        indent.leftIndent = control.selectionFormat().leftIndent.value_or(0) + PrintIndentTwips;
        control.setSelectionFormat(indent);
        if (progress)
            progress(int(std::lround(start * 100.0 / length)));
    }
    for (QTextFrame* frame : control.document()->rootFrame()->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(frame)) {
            QTextTableFormat format = table->format();
            format.setLeftMargin(format.leftMargin() + rtf::twipsToPixels(PrintIndentTwips));
            table->setFormat(format);
        }
    }
    edit.endEditBlock();
    control.setSelStart(0);
    if (progress)
        progress(100);
}

JobEnd endJobRetrying(Printer& printer, int retries, std::chrono::milliseconds wait) {
    JobEnd end = printer.endJob();
    for (int retry = 0; end == JobEnd::Busy && retry < retries; ++retry) {
        pause(wait);
        end = printer.endJob();
    }
    if (end == JobEnd::Busy)
        printer.abandonJob();
    return end;
}

PagePrint printOnePage(RichTextControl& control, Printer& printer, const PrintPageRequest& request,
                       const PrintPageHooks& hooks) {
    preparePrintPage(control, printHeaderLine(request.fileTitle, request.page, request.pageCount),
                     hooks.progress);
    if (hooks.cancelled && hooks.cancelled()) {
        printer.abandonJob();
        return PagePrint::Cancelled;
    }
    if (!printer.startJob(printJobTitle(request.fileTitle, request.page, request.pageCount)))
        return PagePrint::Failed;
    control.printOnto(*printer.painter(), *printer.device());
    const JobEnd end = endJobRetrying(printer, EndJobRetries, hooks.retryWait);
    return end == JobEnd::Done ? PagePrint::Printed : PagePrint::Failed;
}

} // namespace quillo::viewer
