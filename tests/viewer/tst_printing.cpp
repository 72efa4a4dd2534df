#include "rtf/tablebuilder.h"
#include "support/scripteddialogs.h"
#include "viewer/printbox.h"
#include "viewer/printpage.h"
#include "viewer/viewerprinting.h"
#include "winsvc/appenv.h"
#include "winsvc/printer.h"
#include "winsvc/richtextcontrol.h"

#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <QTextBlock>
#include <QTextTable>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <memory>

using namespace quillo;
using namespace quillo::viewer;
using quillo::test::ScriptedDialogs;

namespace {

// A page of plain paragraphs; "\\line" inside a paragraph is a line break within it.
QByteArray pageRtf(const QStringList& paragraphs) {
    QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg932\\deff0{\\fonttbl{\\f0\\fnil MS PMincho;}}\\f0\\fs24 ";
    for (const QString& p : paragraphs)
        rtf += p.toLatin1() + "\\par\r\n";
    return rtf + "}\r\n";
}

// "日本語" in RTF Unicode escapes.
const QString Japanese = QStringLiteral("\\u26085?\\u26412?\\u35486?");

// A window with its hidden print control, the control that shows a page, and the print
// commands, over a document the test fills.
struct Rig {
    explicit Rig(Variant variant = Variant::Viewer, ViewerPrinting::PrinterFactory printers = {})
        : printControl(new RichTextControl(&window)), shown(new RichTextControl(&window)),
          printing(
              &window, variant, dialogs, *printControl,
              [this] {
                  return PrintSubject{&doc, QStringLiteral("help.qzd"), currentPage};
              },
              std::move(printers)) {
        printControl->setReadOnly(true); // as the window's hidden print control
        printControl->hide();
    }
    void setPages(const QList<QByteArray>& pages) {
        doc.pages.resize(pages.size());
        for (int p = 1; p <= pages.size(); ++p)
            doc.page(p).rtf = pages[p - 1];
    }
    // Shows `page` as the viewer window would.
    void show(int page) {
        currentPage = page;
        shown->setRtf(doc.page(page).rtf);
    }

    QWidget window;
    HelpDocument doc;
    int currentPage = 1;
    ScriptedDialogs dialogs;
    RichTextControl* printControl;
    RichTextControl* shown;
    ViewerPrinting printing;
};

QString pdfText(const QString& path) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    p.waitForFinished(20000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Text lines with runs of blanks made one and empty lines kept.
QStringList linesOf(const QString& text) {
    QStringList lines;
    for (const QString& line : text.split(QLatin1Char('\n')))
        lines << line.simplified();
    while (!lines.isEmpty() && (lines.last().isEmpty() || lines.last() == QLatin1String("\f")))
        lines.removeLast();
    return lines;
}

// Counts a failing endJob as a busy printer `busyTimes` times before letting it through.
class BusyPrinter : public Printer {
public:
    BusyPrinter(const QString& folder, int busyTimes)
        : Printer(Kind::PdfFolder, folder), m_busy(busyTimes) {}
    JobEnd endJob() override {
        ++attempts;
        if (m_busy-- > 0)
            return JobEnd::Busy;
        return Printer::endJob();
    }
    int attempts = 0;

private:
    int m_busy;
};

} // namespace

class TestPrinting : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void allPagesPrintOneJobPerPage();
    void cancelStopsBeforeNextPage_data();
    void cancelStopsBeforeNextPage();
    void cancelWhilePreparingPrintsNothing();
    void shownPagePrintsThePageShown();
    void emptyPagePrintsHeaderAndOneEmptyLine();
    void everyParagraphMovesRightOnce();
    void tableMovesRightAsAWhole();
    void busyPrinterIsAskedAgain_data();
    void busyPrinterIsAskedAgain();
    void printDirectoryForcesPdfFiles();
    void folderThatCannotBeMadeTellsWhy();
    void systemPrinter();

private:
    QStringList pdfFiles() const {
        return QDir(m_printDir)
            .entryList({QStringLiteral("*.pdf")}, QDir::Files | QDir::Hidden, QDir::Name);
    }

    QTemporaryDir m_tmp;
    QString m_printDir;
    int m_run = 0;
    bool m_havePdfToText = false;
};

void TestPrinting::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    installJapaneseFontSubstitutions();
    QVERIFY(m_tmp.isValid());
    m_havePdfToText = !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

void TestPrinting::init() {
    m_printDir = m_tmp.filePath(QStringLiteral("jobs%1").arg(++m_run));
    qputenv("QUILLO_PRINT_DIR", m_printDir.toLocal8Bit());
}

void TestPrinting::allPagesPrintOneJobPerPage() {
    Rig rig;
    rig.setPages({pageRtf({QStringLiteral("first page ") + Japanese, QStringLiteral("more")}),
                  pageRtf({QStringLiteral("second page")}), pageRtf({QStringLiteral("third")})});
    rig.show(2);
    const QByteArray shownBefore = rig.shown->rtf();
    const auto pagesBefore = rig.doc.pages;

    rig.printing.printAllPages();
    PrintBox* box = rig.window.findChild<PrintBox*>(QStringLiteral("qzd32_msg"));
    QVERIFY(box);
    QVERIFY(box->isVisible());
    QCOMPARE(box->windowModality(), Qt::ApplicationModal);
    QCOMPARE(box->timer().interval(), 1000);
    QCOMPARE(box->windowTitle(), QStringLiteral("help.qzd  Page 1/ 3"));
    const QString device = QStringLiteral("PDF (%1)").arg(QDir::toNativeSeparators(m_printDir));
    QCOMPARE(box->findChild<QLabel*>()->text(), device + QStringLiteral(" で印刷中"));
    QVERIFY(QGuiApplication::overrideCursor());

    const QStringList bodies{QStringLiteral("first page 日本語"), QStringLiteral("second page"),
                             QStringLiteral("third")};
    for (int page = 1; page <= 3; ++page) {
        box->tick();
        QCOMPARE(box->windowTitle(), QStringLiteral("help.qzd  Page %1/ 3").arg(page));
        QCOMPARE(pdfFiles().size(), page);
        // The document handed to the printer: header line, empty line, the page.
        const QString header = QStringLiteral("help.qzd       Page %1/ 3").arg(page);
        QVERIFY(rig.printControl->plainText().startsWith(header + QStringLiteral("\n\n") +
                                                         bodies[page - 1]));
    }
    QVERIFY(!box->isHidden());
    box->tick(); // nothing left: the box closes
    QTRY_VERIFY(!rig.printing.box());
    QVERIFY(!QGuiApplication::overrideCursor());

    QCOMPARE(pdfFiles(), QStringList({QStringLiteral("help.qzd - Page 1 of 3.pdf"),
                                      QStringLiteral("help.qzd - Page 2 of 3.pdf"),
                                      QStringLiteral("help.qzd - Page 3 of 3.pdf")}));
    if (m_havePdfToText) {
        for (int page = 1; page <= 3; ++page) {
            const QStringList lines =
                linesOf(pdfText(QDir(m_printDir).filePath(pdfFiles().at(page - 1))));
            QVERIFY2(lines.size() >= 3, qPrintable(lines.join(QLatin1Char('|'))));
            QCOMPARE(lines[0], QStringLiteral("help.qzd Page %1/ 3").arg(page));
            QCOMPARE(lines[1], QString());
            QCOMPARE(lines[2], bodies[page - 1]);
        }
    }
    // Printing leaves the page shown and the document alone.
    QCOMPARE(rig.shown->rtf(), shownBefore);
    QCOMPARE(rig.currentPage, 2);
    QVERIFY(rig.doc.pages == pagesBefore);
    QVERIFY(rig.dialogs.messages().isEmpty());
}

void TestPrinting::cancelStopsBeforeNextPage_data() {
    QTest::addColumn<Variant>("variant");
    QTest::addColumn<QString>("boxName");
    QTest::addColumn<QString>("interrupted");
    QTest::addColumn<QString>("folder"); // a folder the jobs go to, inside the print folder
    const QString viewerText = QStringLiteral(" での印刷が中断されました。");
    const QString previewText = QStringLiteral("での印刷が中断されました。");
    QTest::newRow("viewer") << Variant::Viewer << QStringLiteral("qzd32_msg") << viewerText
                            << QString();
    QTest::newRow("preview") << Variant::Preview << QStringLiteral("qzd32mk_msg") << previewText
                             << QString();
    // A device name too long for one line with the text: the line breaks between the two.
    const QString longFolder =
        QStringLiteral("a_considerably_longer_folder_name_for_the_print_jobs_of_the_viewer");
    QTest::newRow("viewer, long name")
        << Variant::Viewer << QStringLiteral("qzd32_msg")
        << QStringLiteral("\nでの印刷が中断されました。") << longFolder;
    QTest::newRow("preview, long name")
        << Variant::Preview << QStringLiteral("qzd32mk_msg")
        << QStringLiteral("\nでの印刷が中断されました。") << longFolder;
}

void TestPrinting::cancelStopsBeforeNextPage() {
    QFETCH(Variant, variant);
    QFETCH(QString, boxName);
    QFETCH(QString, interrupted);
    QFETCH(QString, folder);
    if (!folder.isEmpty()) {
        m_printDir += QLatin1Char('/') + folder;
        qputenv("QUILLO_PRINT_DIR", m_printDir.toLocal8Bit());
    }
    Rig rig(variant);
    rig.setPages({pageRtf({QStringLiteral("one")}), pageRtf({QStringLiteral("two")}),
                  pageRtf({QStringLiteral("three")})});
    rig.printing.printAllPages();
    PrintBox* box = rig.window.findChild<PrintBox*>(boxName);
    QVERIFY(box);
    box->tick();
    QCOMPARE(pdfFiles().size(), 1);

    QTest::mouseClick(box->findChild<QPushButton*>(), Qt::LeftButton);
    const QString text = box->printer().deviceName() + interrupted;
    const QLabel* message = box->findChild<QLabel*>();
    QCOMPARE(message->text(), text);
    // The box keeps its size: the longer text must still be shown whole.
    QVERIFY(message->height() >= message->heightForWidth(message->width()));
    QCOMPARE(rig.dialogs.calls().size(), 1);
    QCOMPARE(rig.dialogs.calls().first().kind, ScriptedDialogs::Kind::Beep);
    // Closing the box from its frame is a cancel too; the text stays until the box closes.
    QVERIFY(!box->close());
    QCOMPARE(box->findChild<QLabel*>()->text(), text);
    QVERIFY(box->isVisible());

    box->tick();
    QTRY_VERIFY(!rig.printing.box());
    QCOMPARE(pdfFiles().size(), 1);
}

void TestPrinting::cancelWhilePreparingPrintsNothing() {
    Rig rig;
    auto printer = Printer::pdfFolder(m_printDir);
    rig.printControl->setRtf(pageRtf({QStringLiteral("one"), QStringLiteral("two")}));
    int lastProgress = -1;
    PrintPageHooks hooks;
    hooks.progress = [&](int percent) { lastProgress = percent; };
    hooks.cancelled = [&] { return lastProgress == 100; }; // cancelled while preparing
    QCOMPARE(printOnePage(*rig.printControl, *printer, {QStringLiteral("help.qzd"), 1, 1}, hooks),
             PagePrint::Cancelled);
    QVERIFY(!printer->jobOpen());
    QVERIFY(pdfFiles().isEmpty());
}

void TestPrinting::shownPagePrintsThePageShown() {
    Rig rig;
    rig.setPages({pageRtf({QStringLiteral("one")}), pageRtf({QStringLiteral("two")}),
                  pageRtf({QStringLiteral("three")})});
    rig.show(2);
    rig.printing.printShownPage();
    PrintBox* box = rig.printing.box();
    QVERIFY(box);
    QCOMPARE(box->timer().interval(), 2000);
    QCOMPARE(box->windowTitle(), QStringLiteral("help.qzd  Page 2/ 3"));
    rig.printing.printAllPages(); // a second print waits for the first
    QCOMPARE(rig.printing.box(), box);
    box->tick();
    QTRY_VERIFY(!rig.printing.box());
    QCOMPARE(pdfFiles(), QStringList(QStringLiteral("help.qzd - Page 2 of 3.pdf")));
    QVERIFY(rig.printControl->plainText().startsWith(
        QStringLiteral("help.qzd       Page 2/ 3\n\ntwo")));
    if (m_havePdfToText) {
        const QStringList lines = linesOf(pdfText(QDir(m_printDir).filePath(pdfFiles().first())));
        QCOMPARE(lines, QStringList({QStringLiteral("help.qzd Page 2/ 3"), QString(),
                                     QStringLiteral("two")}));
    }
}

void TestPrinting::emptyPagePrintsHeaderAndOneEmptyLine() {
    Rig rig;
    rig.setPages({QByteArray()});
    rig.printing.printShownPage();
    QVERIFY(rig.printing.box());
    rig.printing.box()->tick();
    QCOMPARE(rig.printControl->plainText(), QStringLiteral("help.qzd       Page 1/ 1\n\n"));
    QCOMPARE(pdfFiles().size(), 1);
    if (m_havePdfToText) {
        const QStringList lines = linesOf(pdfText(QDir(m_printDir).filePath(pdfFiles().first())));
        QCOMPARE(lines, QStringList(QStringLiteral("help.qzd Page 1/ 1")));
    }
}

void TestPrinting::everyParagraphMovesRightOnce() {
    RichTextControl control;
    // A centred, bulleted first paragraph, one already indented by 400 twips, one holding a
    // line break, and one far wider than any page.
    control.setRtf("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}"
                   "\\pard\\qc{\\pntext\\'b7\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'b7}}\\b\\i "
                   "bulleted\\b0\\i0\\par\\pard\\li400 indented\\par"
                   "\\pard two\\line lines\\par " +
                   QByteArray(3000, 'w') + "\\par}");
    QList<int> progress;
    preparePrintPage(control, QStringLiteral("head"), [&](int p) { progress << p; });

    QStringList texts;
    QList<int> indents;
    for (QTextBlock b = control.document()->begin(); b.isValid(); b = b.next()) {
        texts << b.text();
        control.setSelStart(b.position());
        indents << control.selectionFormat().leftIndent.value_or(-1);
    }
    QCOMPARE(texts.mid(0, 3),
             QStringList({QStringLiteral("head"), QString(), QStringLiteral("bulleted")}));
    // The bullet stored without an indent is shown with 360 twips of room for its marker.
    QCOMPARE(indents.mid(1), QList<int>({800, 1160, 1200, 800, 800}));
    QCOMPARE(indents.first(), 800);
    control.setSelStart(0);
    const SelectionFormat header = control.selectionFormat();
    QCOMPARE(header.alignment, SelectionFormat::AlignLeft);
    QCOMPARE(header.bullet, false);
    control.select(0, 4);
    const SelectionFormat headerText = control.selectionFormat();
    QCOMPARE(headerText.bold, false);
    QCOMPARE(headerText.italic, false);
    QCOMPARE(headerText.fontName, QStringLiteral("ＭＳ Ｐ明朝"));
    QCOMPARE(headerText.fontSize, 9.0);
    QCOMPARE(control.rightMargin(), 10'000'000);
    QVERIFY(std::is_sorted(progress.begin(), progress.end()));
    QCOMPARE(progress.last(), 100);
}

// A table moves right by the indent as a whole; its cells keep their text's width (indenting
// the paragraphs in them squeezed each cell's text to a letter per line).
void TestPrinting::tableMovesRightAsAWhole() {
    RichTextControl control;
    control.setRtf("{\\rtf1\\pard before\\par\\trowd\\cellx1500\\cellx3000\\pard\\intbl "
                   "alpha\\cell beta\\cell\\row\\pard after\\par}");
    preparePrintPage(control, QStringLiteral("head"), {});
    QTextCursor cursor(control.document());
    QVERIFY(cursor.movePosition(QTextCursor::NextBlock, QTextCursor::MoveAnchor, 3));
    const QTextTable* table = cursor.currentTable();
    QVERIFY(table);
    QCOMPARE(cursor.block().text(), QStringLiteral("alpha"));
    QCOMPARE(cursor.blockFormat().leftMargin(), 0.0);
    QCOMPARE(table->format().leftMargin(), rtf::pageTableFormat(0, {}).leftMargin() + 800 / 15.0);
    QVERIFY(cursor.movePosition(QTextCursor::NextBlock, QTextCursor::MoveAnchor, 2));
    QCOMPARE(cursor.block().text(), QStringLiteral("after"));
    control.setSelStart(cursor.position());
    QCOMPARE(control.selectionFormat().leftIndent, std::optional<int>(800));
}

void TestPrinting::busyPrinterIsAskedAgain_data() {
    QTest::addColumn<int>("busyTimes");
    QTest::addColumn<int>("attempts");
    QTest::addColumn<bool>("printed");
    QTest::newRow("taken at once") << 0 << 1 << true;
    QTest::newRow("busy three times") << 3 << 4 << true;
    QTest::newRow("taken at the last retry") << 10 << 11 << true;
    QTest::newRow("still busy: given up") << 11 << 11 << false;
}

void TestPrinting::busyPrinterIsAskedAgain() {
    QFETCH(int, busyTimes);
    QFETCH(int, attempts);
    QFETCH(bool, printed);
    BusyPrinter* printer = nullptr;
    Rig rig(Variant::Viewer, [&] {
        auto p = std::make_unique<BusyPrinter>(m_printDir, busyTimes);
        printer = p.get();
        return std::unique_ptr<Printer>(std::move(p));
    });
    rig.setPages({pageRtf({QStringLiteral("one")})});
    if (!printed)
        rig.dialogs.answerNext(Dialogs::Answer::Ok);
    rig.printing.printShownPage();
    QVERIFY(printer);
    const QString device = printer->deviceName();
    rig.printing.box()->tick();
    QCOMPARE(printer->attempts, attempts);
    QVERIFY(!printer->jobOpen());
    // The box owns the printer: once it is gone, so is the printer.
    printer = nullptr;
    QTRY_VERIFY(!rig.printing.box());
    QCOMPARE(pdfFiles().size(), printed ? 1 : 0);
    // Nothing half-written is left behind, and a lost page is reported once.
    QCOMPARE(QDir(m_printDir).entryList(QDir::Files | QDir::Hidden).size(), printed ? 1 : 0);
    const auto messages = rig.dialogs.messages();
    QCOMPARE(messages.size(), printed ? 0 : 1);
    if (!printed) {
        QCOMPARE(messages.first().icon, Dialogs::Icon::Warning);
        QVERIFY(messages.first().text.startsWith(device));
        QVERIFY(messages.first().text.contains(QStringLiteral("Page 1: ")));
    }
    QCOMPARE(rig.dialogs.unexpectedCount(), 0);
}

void TestPrinting::printDirectoryForcesPdfFiles() {
    const auto printer = Printer::systemDefault();
    QCOMPARE(printer->kind(), Printer::Kind::PdfFolder);
    QCOMPARE(printer->target(), m_printDir);
    QVERIFY(printer->deviceName().contains(QDir::toNativeSeparators(m_printDir)));
    // Jobs of the same name do not overwrite each other.
    for (int i = 0; i < 2; ++i) {
        QVERIFY(printer->startJob(QStringLiteral("a/b: c")));
        QCOMPARE(printer->endJob(), JobEnd::Done);
    }
    QCOMPARE(pdfFiles(),
             QStringList({QStringLiteral("a_b_ c (2).pdf"), QStringLiteral("a_b_ c.pdf")}));
    QCOMPARE(QDir(printer->lastFile()).dirName(), QStringLiteral("a_b_ c (2).pdf"));
}

// A PDF folder that cannot be made fails the job with the system's reason, not an unknown
// error.
void TestPrinting::folderThatCannotBeMadeTellsWhy() {
    QTemporaryFile file;
    QVERIFY(file.open());
    const QString folder = file.fileName() + QStringLiteral("/jobs");
    const auto printer = Printer::pdfFolder(folder);
    QVERIFY(!printer->startJob(QStringLiteral("page")));
    QCOMPARE(printer->errorString(), QDir::toNativeSeparators(folder) + QStringLiteral(": ") +
                                         QString::fromLocal8Bit(std::strerror(ENOTDIR)));
}

// With QUILLO_REAL_PRINTER=1 (tests/viewer/cups_print_check.sh): prints a three-page
// document on the system's default printer, all pages and then the page shown.
void TestPrinting::systemPrinter() {
    if (qEnvironmentVariable("QUILLO_REAL_PRINTER") != QLatin1String("1"))
        QSKIP("prints on the system's printer only when QUILLO_REAL_PRINTER=1");
    qunsetenv("QUILLO_PRINT_DIR");
    Rig rig;
    QCOMPARE(Printer::systemDefault()->kind(), Printer::Kind::System);
    rig.setPages({pageRtf({QStringLiteral("real one ") + Japanese}),
                  pageRtf({QStringLiteral("real two")}), pageRtf({QStringLiteral("real three")})});
    rig.show(2);
    rig.printing.printAllPages();
    QVERIFY(rig.printing.box());
    QTRY_VERIFY_WITH_TIMEOUT(!rig.printing.box(), 20000); // the box's own timer this time
    rig.printing.printShownPage();
    QVERIFY(rig.printing.box());
    QTRY_VERIFY_WITH_TIMEOUT(!rig.printing.box(), 20000);
    QVERIFY(rig.dialogs.messages().isEmpty());
}

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
