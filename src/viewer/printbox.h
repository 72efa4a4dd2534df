#pragma once

#include "core/helpdocument.h"
#include "viewer/viewertexts.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QStringList>

#include <functional>
#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace quillo {
class Dialogs;
class Printer;
class RichTextControl;
} // namespace quillo

namespace quillo::viewer {

// What a print takes from its window: the document, its file title and the page shown.
struct PrintSubject {
    const HelpDocument* document = nullptr;
    QString fileTitle;
    int currentPage = 1;
};

// The print progress box (`qzd32_msg`, in the preview `qzd32mk_msg`): modal while it prints.
// Its timer prints one page per tick, each page a print job of its own, so that "ｷｬﾝｾﾙ"
// stops the print between pages. The box closes itself after the last page or after a
// cancel, and deletes itself when closed.
class PrintBox : public QDialog {
    Q_OBJECT
public:
    enum class Mode { ShownPage, AllPages };
    static constexpr int ShownPageIntervalMs = 2000;
    static constexpr int AllPagesIntervalMs = 1000;

    PrintBox(Variant variant, Mode mode, std::function<PrintSubject()> subject,
             RichTextControl& printControl, std::unique_ptr<Printer> printer, Dialogs& dialogs,
             QWidget* parent = nullptr);
    ~PrintBox() override;

    Mode mode() const { return m_mode; }
    const Printer& printer() const { return *m_printer; }
    bool cancelled() const { return m_cancelled; }
    // The pages that did not print, one line each with the printer's reason.
    const QStringList& failures() const { return m_failures; }

    // One tick of the box's timer: prints the next page, or closes the box when nothing is
    // left to print or the print was cancelled. Tests call it to print without waiting.
    void tick();
    const QTimer& timer() const { return *m_timer; }

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void cancel();
    void finish();
    QString interruptedText() const;
    void printPage(const PrintSubject& subject, int page);
    void keepResponsive();

    Variant m_variant;
    Mode m_mode;
    std::function<PrintSubject()> m_subject;
    RichTextControl& m_printControl;
    std::unique_ptr<Printer> m_printer;
    Dialogs& m_dialogs;

    int m_nextPage = 1;
    bool m_cancelled = false;
    bool m_finished = false;
    bool m_timerStarted = false;
    QStringList m_failures;
    QElapsedTimer m_sinceEvents;

    QLabel* m_message = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QTimer* m_timer = nullptr;
};

} // namespace quillo::viewer
