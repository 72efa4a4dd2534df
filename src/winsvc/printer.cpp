#include "winsvc/printer.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QTimer>

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace quillo {

namespace {

// Makes `folder` and the folders above it that are missing; the system's reason when a
// level cannot be made, empty when the folder is there.
QString makeFolder(const QString& folder) {
    const QString absolute = QDir::cleanPath(QDir(folder).absolutePath());
    QString path;
    for (const QString& part : absolute.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        path += QLatin1Char('/') + part;
        if (::mkdir(QFile::encodeName(path).constData(), 0777) != 0 && errno != EEXIST)
            return QString::fromLocal8Bit(std::strerror(errno));
        if (!QFileInfo(path).isDir())
            return QString::fromLocal8Bit(std::strerror(ENOTDIR));
    }
    return {};
}

// How long the spooler may take to accept a job before the hand-over counts as refused.
constexpr int SpoolerTimeoutMs = 15000;

QPageLayout pdfPageLayout() {
    const bool us = QLocale::system().measurementSystem() == QLocale::ImperialUSSystem;
    return QPageLayout(QPageSize(us ? QPageSize::Letter : QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
}

QPageLayout queuePageLayout(const QString& queue) {
    const QPrinter probe(QPrinterInfo::printerInfo(queue), QPrinter::HighResolution);
    const QPageLayout layout = probe.pageLayout();
    return layout.isValid() ? layout : pdfPageLayout();
}

// Runs `process` to its end while the user interface keeps painting; false when it could
// not start or did not finish within the timeout.
bool runToEnd(QProcess& process, const QString& program, const QStringList& arguments) {
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(SpoolerTimeoutMs, &loop, &QEventLoop::quit);
    process.start(program, arguments);
    if (process.state() != QProcess::NotRunning)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(1000);
        return false;
    }
    return process.exitStatus() == QProcess::NormalExit &&
           process.error() != QProcess::FailedToStart;
}

} // namespace

QString jobFileName(const QString& title) {
    QString name = title.trimmed();
    for (QChar& ch : name) {
        if (ch.unicode() < 0x20 || QStringView(u"/\\:*?\"<>|").contains(ch))
            ch = QLatin1Char('_');
    }
    if (name.startsWith(QLatin1Char('.')))
        name[0] = QLatin1Char('_'); // never a hidden file
    return name.isEmpty() ? QStringLiteral("job") : name;
}

std::unique_ptr<Printer> Printer::pdfFolder(const QString& folder) {
    return std::unique_ptr<Printer>(new Printer(Kind::PdfFolder, folder));
}

std::unique_ptr<Printer> Printer::systemQueue(const QString& queue) {
    return std::unique_ptr<Printer>(new Printer(Kind::System, queue));
}

std::unique_ptr<Printer> Printer::systemDefault() {
    const QString forced = qEnvironmentVariable("QUILLO_PRINT_DIR");
    if (!forced.isEmpty())
        return pdfFolder(forced);
    QString queue = QPrinterInfo::defaultPrinterName();
    if (queue.isEmpty()) {
        const QStringList queues = QPrinterInfo::availablePrinterNames();
        if (!queues.isEmpty())
            queue = queues.first();
    }
    return queue.isEmpty() ? pdfFolder(defaultPdfFolder()) : systemQueue(queue);
}

QString Printer::defaultPdfFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && documents != QDir::homePath())
        return documents + QStringLiteral("/Quillo32");
    return QDir::homePath() + QStringLiteral("/Quillo32-prints");
}

Printer::Printer(Kind kind, const QString& target)
    : m_kind(kind), m_target(target),
      m_layout(kind == Kind::System ? queuePageLayout(target) : pdfPageLayout()) {
    if (kind == Kind::System)
        m_lp = QStandardPaths::findExecutable(QStringLiteral("lp"));
}

Printer::~Printer() {
    abandonJob();
}

QString Printer::deviceName() const {
    if (m_kind == Kind::System)
        return m_target;
    return QStringLiteral("PDF (") + QDir::toNativeSeparators(m_target) + QLatin1Char(')');
}

bool Printer::startJob(const QString& title) {
    abandonJob();
    m_error.clear();
    m_title = title;
    m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    m_printer->setDocName(title);
    if (useQtSpooler()) {
        m_printer->setPrinterName(m_target);
    } else {
        // The job is rendered into a hidden file beside where it ends up, so that handing it
        // over is a rename (PDF folder) or a file the spooler reads.
        const QString folder = m_kind == Kind::PdfFolder ? m_target : QDir::tempPath();
        QTemporaryFile spool(folder + QStringLiteral("/.quillo-job-XXXXXX.pdf"));
        spool.setAutoRemove(false);
        const QString folderProblem = makeFolder(folder);
        if (!folderProblem.isEmpty() || !spool.open()) {
            m_error = QDir::toNativeSeparators(folder) + QStringLiteral(": ") +
                      (folderProblem.isEmpty() ? spool.errorString() : folderProblem);
            dropJob();
            return false;
        }
        m_spoolFile = spool.fileName();
        spool.close();
        if (m_kind == Kind::PdfFolder) // readable like any other document there
            QFile::setPermissions(m_spoolFile, QFile::ReadOwner | QFile::WriteOwner |
                                                   QFile::ReadGroup | QFile::ReadOther);
        m_printer->setOutputFormat(QPrinter::PdfFormat);
        m_printer->setOutputFileName(m_spoolFile);
        m_printer->setPageLayout(m_layout);
    }
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(m_printer.get())) {
        m_error = QStringLiteral("cannot open a print job on ") + deviceName();
        dropJob();
        return false;
    }
    m_stage = Stage::Rendering;
    return true;
}

QPainter* Printer::painter() {
    return m_stage == Stage::Rendering ? m_painter.get() : nullptr;
}

QPagedPaintDevice* Printer::device() {
    return m_stage == Stage::Rendering ? m_printer.get() : nullptr;
}

JobEnd Printer::endJob() {
    if (m_stage == Stage::Idle) {
        m_error = QStringLiteral("no print job is open");
        return JobEnd::Failed;
    }
    if (m_stage == Stage::Rendering) {
        const bool rendered = m_painter->end() && m_printer->printerState() != QPrinter::Error;
        m_stage = Stage::Rendered;
        if (!rendered || useQtSpooler()) {
            if (!rendered)
                m_error = QStringLiteral("the page could not be rendered for ") + deviceName();
            dropJob();
            return rendered ? JobEnd::Done : JobEnd::Failed;
        }
    }
    const JobEnd end = handOver();
    if (end != JobEnd::Busy)
        dropJob();
    return end;
}

JobEnd Printer::handOver() {
    return m_kind == Kind::PdfFolder ? moveIntoFolder() : sendToSpooler();
}

JobEnd Printer::moveIntoFolder() {
    const QString base = m_target + QLatin1Char('/') + jobFileName(m_title);
    QString path = base + QStringLiteral(".pdf");
    for (int n = 2; QFile::exists(path); ++n)
        path = base + QStringLiteral(" (%1).pdf").arg(n);
    QFile spool(m_spoolFile);
    if (!spool.rename(path)) {
        m_error = QDir::toNativeSeparators(path) + QStringLiteral(": ") + spool.errorString();
        return JobEnd::Busy;
    }
    m_spoolFile.clear();
    m_lastFile = path;
    return JobEnd::Done;
}

JobEnd Printer::sendToSpooler() {
    QProcess lp;
    const QStringList arguments{QStringLiteral("-d"), m_target,   QStringLiteral("-t"), m_title,
                                QStringLiteral("--"), m_spoolFile};
    if (runToEnd(lp, m_lp, arguments) && lp.exitCode() == 0)
        return JobEnd::Done;
    const QString said = QString::fromLocal8Bit(lp.readAllStandardError()).trimmed();
    m_error = said.isEmpty() ? QStringLiteral("lp: ") + lp.errorString() : said;
    return JobEnd::Busy;
}

void Printer::abandonJob() {
    if (m_stage == Stage::Rendering) {
        m_printer->abort();
        if (m_painter->isActive())
            m_painter->end();
    }
    dropJob();
}

void Printer::dropJob() {
    m_painter.reset();
    m_printer.reset();
    if (!m_spoolFile.isEmpty())
        QFile::remove(m_spoolFile);
    m_spoolFile.clear();
    m_stage = Stage::Idle;
}

} // namespace quillo
