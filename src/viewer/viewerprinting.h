#pragma once

#include "viewer/printbox.h"
#include "viewer/viewertexts.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class QWidget;

namespace quillo {
class Dialogs;
class Hourglass;
class Printer;
class RichTextControl;
} // namespace quillo

namespace quillo::viewer {

// The two print commands of the viewer window (and of the preview): each opens the print
// progress box over the window, which prints through the window's hidden print control, so
// that the page shown and the document stay as they are. The pointer is the hourglass
// while the box is open. Pages that could not be printed are reported once the box closes.
class ViewerPrinting : public QObject {
    Q_OBJECT
public:
    using PrinterFactory = std::function<std::unique_ptr<Printer>()>;

    // `subject` tells the document, its file title and the page shown at the time of asking.
    // `printers` makes the printer of each print; by default Printer::systemDefault().
    ViewerPrinting(QWidget* window, Variant variant, Dialogs& dialogs,
                   RichTextControl& printControl, std::function<PrintSubject()> subject,
                   PrinterFactory printers = {});
    ~ViewerPrinting() override;

    // 表示ﾍﾟｰｼﾞ印刷(S) and 全ﾍﾟｰｼﾞ印刷(A). Nothing happens without a page to print or while a
    // print is already running.
    void printShownPage();
    void printAllPages();

    // The open progress box, or null.
    PrintBox* box() const { return m_box; }

private:
    void open(PrintBox::Mode mode);
    void onBoxFinished();

    QWidget* m_window;
    Variant m_variant;
    Dialogs& m_dialogs;
    RichTextControl& m_printControl;
    std::function<PrintSubject()> m_subject;
    PrinterFactory m_printers;
    QPointer<PrintBox> m_box;
    std::unique_ptr<Hourglass> m_hourglass;
};

} // namespace quillo::viewer
