#include "viewer/printbox.h"

#include "core/text.h"
#include "viewer/printpage.h"
#include "winsvc/dialogs.h"
#include "winsvc/printer.h"
#include "winsvc/richtextcontrol.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace quillo::viewer {

namespace {

// How long printing a page may keep the box from repainting and taking clicks.
constexpr qint64 ResponsiveSliceMs = 50;

const QString Printing = QStringLiteral(" で印刷中");

// The preview's text has no blank after the device name.
QString interrupted(Variant variant) {
    return variant == Variant::Preview ? QStringLiteral("での印刷が中断されました。")
                                       : QStringLiteral(" での印刷が中断されました。");
}

// The widest the message may be before it is broken into lines.
int widestMessage() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().width() / 2 : 640;
}

// The device name followed by `message`, on one line when it fits in `width` pixels;
// otherwise broken between the two, so that neither a device or folder name nor a word of
// the message is cut in the middle.
QString messageText(const QString& device, const QString& message, const QFontMetrics& metrics,
                    int width) {
    if (metrics.horizontalAdvance(device + message) <= width)
        return device + message;
    return device + QLatin1Char('\n') + message.trimmed();
}

} // namespace

PrintBox::PrintBox(Variant variant, Mode mode, std::function<PrintSubject()> subject,
                   RichTextControl& printControl, std::unique_ptr<Printer> printer,
                   Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), m_variant(variant), m_mode(mode), m_subject(std::move(subject)),
      m_printControl(printControl), m_printer(std::move(printer)), m_dialogs(dialogs) {
    setObjectName(variant == Variant::Preview ? QStringLiteral("qzd32mk_msg")
                                              : QStringLiteral("qzd32_msg"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::ApplicationModal);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("message"));
    m_message->setWordWrap(true);
    m_message->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_cancelButton = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    m_cancelButton->setObjectName(QStringLiteral("cancel"));
    m_cancelButton->setAutoDefault(false);
    connect(m_cancelButton, &QPushButton::clicked, this, &PrintBox::cancel);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cancelButton);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_message);
    layout->addWidget(m_progress);
    layout->addLayout(buttons);

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    connect(m_timer, &QTimer::timeout, this, &PrintBox::tick);

    const PrintSubject s = m_subject();
    const int pageCount = s.document ? s.document->pageCount() : 0;
    if (m_mode == Mode::ShownPage) {
        m_timer->setInterval(ShownPageIntervalMs);
        setWindowTitle(printBoxTitle(s.fileTitle, s.currentPage, pageCount));
    } else {
        m_timer->setInterval(AllPagesIntervalMs);
        setWindowTitle(printBoxTitle(s.fileTitle, m_nextPage, pageCount));
    }

    // The box keeps one size while it prints: made for the longer interruption text, so
    // that a cancel never cuts the message off.
    const QFontMetrics metrics(m_message->font());
    const QString device = m_printer->deviceName();
    const int widest = widestMessage();
    const int natural = std::max(metrics.horizontalAdvance(device + interrupted(m_variant)),
                                 metrics.horizontalAdvance(device + Printing));
    m_message->setMinimumWidth(std::max(340, std::min(natural + 8, widest)));
    m_message->setText(interruptedText());
    adjustSize();
    setFixedSize(size());
    m_message->setText(messageText(device, Printing, metrics, m_message->minimumWidth()));

    // Centred on the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.left() + area.width() / 2 - width() / 2,
             area.top() + area.height() / 2 - height() / 2);
    }
}

PrintBox::~PrintBox() = default;

QString PrintBox::interruptedText() const {
    return messageText(m_printer->deviceName(), interrupted(m_variant),
                       QFontMetrics(m_message->font()), m_message->minimumWidth());
}

void PrintBox::tick() {
    m_timer->stop();
    if (m_finished)
        return;
    const PrintSubject s = m_subject();
    const int pageCount = s.document ? s.document->pageCount() : 0;
    if (m_mode == Mode::ShownPage) {
        if (!m_cancelled && s.currentPage >= 1 && s.currentPage <= pageCount) {
            setWindowTitle(printBoxTitle(s.fileTitle, s.currentPage, pageCount));
            printPage(s, s.currentPage);
        }
        finish();
        return;
    }
    if (m_cancelled || m_nextPage > pageCount) {
        finish();
        return;
    }
    setWindowTitle(printBoxTitle(s.fileTitle, m_nextPage, pageCount));
    printPage(s, m_nextPage);
    ++m_nextPage;
    m_timer->start();
}

void PrintBox::printPage(const PrintSubject& subject, int page) {
    m_printControl.setRtf(subject.document->page(page).rtf);
    PrintPageHooks hooks;
    hooks.progress = [this](int percent) {
        m_progress->setValue(percent);
        keepResponsive();
    };
    hooks.cancelled = [this] { return m_cancelled; };
    m_sinceEvents.start();
    const PagePrint result =
        printOnePage(m_printControl, *m_printer,
                     {subject.fileTitle, page, subject.document->pageCount()}, hooks);
    if (result == PagePrint::Failed)
        m_failures << QStringLiteral("Page") + numberText(page) + QStringLiteral(": ") +
                          m_printer->errorString();
}

// A long page takes a while to prepare; the box repaints and its button answers meanwhile.
void PrintBox::keepResponsive() {
    if (m_sinceEvents.elapsed() < ResponsiveSliceMs)
        return;
    QCoreApplication::processEvents();
    m_sinceEvents.start();
}

void PrintBox::cancel() {
    m_dialogs.beep();
    m_message->setText(interruptedText());
    m_cancelled = true;
}

void PrintBox::finish() {
    m_printer->abandonJob(); // nothing is left open; a page in progress never reaches here
    m_finished = true;
    m_timer->stop();
    done(QDialog::Accepted);
}

bool PrintBox::event(QEvent* event) {
    // The pointer is the hourglass while printing, except over the box itself.
    if (QGuiApplication::overrideCursor()) {
        if (event->type() == QEvent::Enter)
            QGuiApplication::changeOverrideCursor(Qt::ArrowCursor);
        else if (event->type() == QEvent::Leave)
            QGuiApplication::changeOverrideCursor(Qt::WaitCursor);
    }
    return QDialog::event(event);
}

void PrintBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_timerStarted) {
        m_timerStarted = true;
        m_timer->start();
    }
}

// Closing the box by its window frame or Escape is a cancel like the button's: the next
// tick closes it, so that a page being printed is finished or abandoned first.
void PrintBox::closeEvent(QCloseEvent* event) {
    if (m_finished) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore();
    cancel();
}

void PrintBox::reject() {
    if (m_finished)
        QDialog::reject();
    else
        cancel();
}

} // namespace quillo::viewer
