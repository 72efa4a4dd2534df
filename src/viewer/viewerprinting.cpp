#include "viewer/viewerprinting.h"

#include "winsvc/dialogs.h"
#include "winsvc/hourglass.h"
#include "winsvc/printer.h"

namespace quillo::viewer {

ViewerPrinting::ViewerPrinting(QWidget* window, Variant variant, Dialogs& dialogs,
                               RichTextControl& printControl, std::function<PrintSubject()> subject,
                               PrinterFactory printers)
    : QObject(window), m_window(window), m_variant(variant), m_dialogs(dialogs),
      m_printControl(printControl), m_subject(std::move(subject)),
      m_printers(printers ? std::move(printers) : PrinterFactory(&Printer::systemDefault)) {}

ViewerPrinting::~ViewerPrinting() = default;

void ViewerPrinting::printShownPage() {
    open(PrintBox::Mode::ShownPage);
}

void ViewerPrinting::printAllPages() {
    open(PrintBox::Mode::AllPages);
}

void ViewerPrinting::open(PrintBox::Mode mode) {
    const PrintSubject subject = m_subject();
    if (m_box || !subject.document || subject.document->pageCount() < 1)
        return;
    m_hourglass = std::make_unique<Hourglass>();
    m_box =
        new PrintBox(m_variant, mode, m_subject, m_printControl, m_printers(), m_dialogs, m_window);
    connect(m_box, &QDialog::finished, this, &ViewerPrinting::onBoxFinished);
    m_box->show();
}

void ViewerPrinting::onBoxFinished() {
    m_hourglass.reset();
    if (!m_box || m_box->failures().isEmpty())
        return;
    const QString text = m_box->printer().deviceName() +
                         QStringLiteral(" で印刷できなかったﾍﾟｰｼﾞがあります。\n") +
                         m_box->failures().join(QLatin1Char('\n'));
    m_dialogs.ask(m_window, QStringLiteral("qzd32 印刷"), text, Dialogs::Icon::Warning,
                  Dialogs::Buttons::Ok);
}

} // namespace quillo::viewer
