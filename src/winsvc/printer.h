#pragma once

#include <QPageLayout>
#include <QString>

#include <memory>

class QPagedPaintDevice;
class QPainter;
class QPrinter;

namespace quillo {

// How a print job ended.
enum class JobEnd {
    Done,   // the job reached the printer, or its file is in place
    Busy,   // the job is rendered but the printer did not take it yet; ending it again retries
    Failed, // the job is lost; nothing was printed
};

// The printer both programs print on, one job at a time. Each job is rendered into a PDF
// file first and handed over when it ends, so that a printer that refuses the job can be
// asked again without rendering the page anew:
// - System: the default printer of the system (CUPS), named by its queue. The job is handed
//   to the print spooler with `lp`; without `lp`, Qt's own CUPS printing sends it.
// - PdfFolder: no printer is installed (or QUILLO_PRINT_DIR names a folder): each job
//   becomes one PDF file in a folder the user can find, named after the job.
class Printer {
public:
    enum class Kind { System, PdfFolder };

    // A printer that writes every job as a PDF file into `folder`.
    static std::unique_ptr<Printer> pdfFolder(const QString& folder);
    // A CUPS queue, for example one of QPrinterInfo::availablePrinterNames().
    static std::unique_ptr<Printer> systemQueue(const QString& queue);
    // What printing uses: the PDF folder QUILLO_PRINT_DIR when set; otherwise the system's
    // default printer (the first printer when none is the default); otherwise the PDF
    // folder defaultPdfFolder().
    static std::unique_ptr<Printer> systemDefault();
    // $XDG_DOCUMENTS_DIR/Quillo32 (~/Documents/Quillo32), or ~/Quillo32-prints when the
    // desktop has no documents folder.
    static QString defaultPdfFolder();

    virtual ~Printer();
    Printer(const Printer&) = delete;
    Printer& operator=(const Printer&) = delete;

    Kind kind() const { return m_kind; }
    // The name messages show: the queue's name, or "PDF (" + folder + ")".
    QString deviceName() const;
    // The queue, or the PDF folder.
    QString target() const { return m_target; }

    // Opens a job named `title`; false when it cannot be opened (see errorString()).
    bool startJob(const QString& title);
    bool jobOpen() const { return m_stage != Stage::Idle; }
    // What renders the job while it is open and not yet ended; null otherwise.
    QPainter* painter();
    QPagedPaintDevice* device();
    // Ends the open job. Busy leaves it pending: ending it again retries the hand-over,
    // abandonJob() drops it.
    virtual JobEnd endJob();
    // Drops the open job, rendered or not; nothing is printed. Does nothing without a job.
    void abandonJob();

    // Why the last job could not be opened or ended.
    QString errorString() const { return m_error; }
    // The PDF file the last job became (PdfFolder only).
    QString lastFile() const { return m_lastFile; }

protected:
    // The layout comes from the queue's own paper and printable area, or, for a PDF folder,
    // the locale's paper (Letter in the US, A4 elsewhere) with 10 mm margins.
    Printer(Kind kind, const QString& target);

private:
    enum class Stage { Idle, Rendering, Rendered };

    bool useQtSpooler() const { return m_kind == Kind::System && m_lp.isEmpty(); }
    JobEnd handOver();
    JobEnd moveIntoFolder();
    JobEnd sendToSpooler();
    void dropJob();

    Kind m_kind;
    QString m_target;
    QPageLayout m_layout;
    QString m_lp; // the spooler's command, when installed
    Stage m_stage = Stage::Idle;
    QString m_title;
    QString m_spoolFile;
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<QPainter> m_painter;
    QString m_error;
    QString m_lastFile;
};

// A file name made from a job title: characters that file systems or shells refuse become
// "_", and an empty title becomes "job".
QString jobFileName(const QString& title);

} // namespace quillo
