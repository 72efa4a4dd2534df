#pragma once

#include "winsvc/printer.h"

#include <QString>

#include <chrono>
#include <functional>

namespace quillo {
class RichTextControl;
} // namespace quillo

namespace quillo::viewer {

// The face and size of the header line and the empty line below it.
inline const QString PrintFontName = QStringLiteral("ＭＳ Ｐ明朝");
inline constexpr double PrintHeaderPointSize = 9;
// Every printed line starts this far from the printer's left edge of the printable area.
inline constexpr int PrintIndentTwips = 800;
// The print control never wraps lines itself; the printer's page width does.
inline constexpr int PrintRightMarginTwips = 10'000'000;
// A printer that does not take a finished job is asked again this many times.
inline constexpr int EndJobRetries = 10;
// The pause before asking it again; the box keeps painting and taking clicks meanwhile.
inline constexpr std::chrono::milliseconds EndJobRetryWait{100};

// The header line of a printed page: file title, seven blanks, "Page", page "/" count
// ("help.qzd       Page 2/ 3").
QString printHeaderLine(const QString& fileTitle, int page, int pageCount);
// The progress box's title while it prints `page` ("help.qzd  Page 2/ 3").
QString printBoxTitle(const QString& fileTitle, int page, int pageCount);
// The name of the print job of one page; it names the PDF file when printing into a folder.
QString printJobTitle(const QString& fileTitle, int page, int pageCount);

// Turns the page loaded into `control` into what is printed: the header line and an empty
// line in front of it (plain black, left-aligned), no wrapping by the control, and every
// paragraph moved right by PrintIndentTwips. `progress` hears 0..100 as it goes.
void preparePrintPage(RichTextControl& control, const QString& header,
                      const std::function<void(int)>& progress);

// Ends the printer's open job, asking again up to `retries` times while the printer is busy,
// `wait` apart. A job the printer still does not take is abandoned and reported as Busy.
JobEnd endJobRetrying(Printer& printer, int retries, std::chrono::milliseconds wait);

struct PrintPageRequest {
    QString fileTitle;
    int page = 1;
    int pageCount = 1;
};

struct PrintPageHooks {
    std::function<void(int)> progress; // 0..100 while the page is prepared
    std::function<bool()> cancelled;   // asked before the page goes to the printer
    std::chrono::milliseconds retryWait = EndJobRetryWait;
};

enum class PagePrint { Printed, Cancelled, Failed };

// Prints the page loaded into `control` as one print job of its own: prepares it, and
// unless cancelled by then, renders it onto the printer and ends the job, retrying a busy
// printer. On Failed the printer's errorString() says why.
PagePrint printOnePage(RichTextControl& control, Printer& printer, const PrintPageRequest& request,
                       const PrintPageHooks& hooks);

} // namespace quillo::viewer
