// The authoring program's editor with a page holding a long table: the table comes in parts
// (Qt lays a table out whole), stays editable, and saves as the one table the page holds. The
// window answers while such a page comes in, and a page whose load was cut short is never
// taken for the page.
#include "core/helpfile.h"
#include "rtf/rtfreader.h"
#include "rtf/tablebuilder.h"
#include "support/hostilepages.h"
#include "support/makerfixture.h"
#include "support/viewerfiles.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextTable>
#include <QTimer>

using namespace quillo;
using namespace quillo::maker;

class TestLongTables : public QObject {
    Q_OBJECT
    MakerFixture f;

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { f.setUp(); }
    void cleanup() { f.tearDown(); }

    void editedLongTableSavesAsOneTable_data() {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("cells");
        QTest::newRow("4000 rows of 3 cells") << 4000 << 3;
        QTest::newRow("200 rows of 63 cells") << 200 << 63;
    }

    // The page shows every cell's text as the viewer computes it, a cell of its last part takes
    // typed text, and the saved page reads back as one table of all its rows with that text.
    void editedLongTableSavesAsOneTable() {
        QFETCH(int, rows);
        QFETCH(int, cells);
        const QByteArray page = test::tablePage(rows, cells);
        auto doc = std::make_unique<HelpDocument>();
        doc->pages.resize(1);
        doc->page(1).rtf = page;
        const QString path = f.file(QStringLiteral("table.qzd"));
        QVERIFY(saveHelpFile(path, *doc).ok());
        MakerMainWindow* w = f.start(path);
        QVERIFY(w);
        w->show();
        RichTextControl* editor = w->editor();
        QTRY_VERIFY_WITH_TIMEOUT(!editor->isLoading(), 60000);
        QCOMPARE(editor->plainText(), rtf::plainText(page));

        // The caret goes down from the last row of a part into the first row of the next, and
        // up again, never stopping between the two.
        const int partRows = (rtf::kCellsPerShownTable + cells - 1) / cells;
        QVERIFY(editor->find(QStringLiteral("%1.0").arg(partRows - 1), 0) >= 0);
        QTest::keyClick(editor, Qt::Key_Down);
        QCOMPARE(editor->textCursor().block().text(), QStringLiteral("%1.0").arg(partRows));
        QTest::keyClick(editor, Qt::Key_Up);
        QVERIFY2(
            editor->textCursor().block().text().startsWith(QStringLiteral("%1.").arg(partRows - 1)),
            qPrintable(editor->textCursor().block().text()));

        const QString last = QStringLiteral("%1.%2").arg(rows - 1).arg(cells - 1);
        QVERIFY(editor->find(last, 0) >= 0);
        editor->setSelText(QStringLiteral("edited"));
        MakerFixture::trigger(w, "qzd32mk_file_save");

        HelpDocument saved;
        QVERIFY(readHelpFile(path, saved, Reader::Maker).ok());
        QTextDocument back;
        rtf::readRtf(saved.page(1).rtf, back);
        QList<QTextTable*> tables;
        for (QTextFrame* frame : back.rootFrame()->childFrames())
            if (auto* table = qobject_cast<QTextTable*>(frame))
                tables << table;
        QCOMPARE(tables.size(), 1);
        QCOMPARE(tables[0]->rows(), rows);
        QCOMPARE(tables[0]->columns(), cells);
        QString expected = rtf::plainText(page);
        expected.replace(expected.lastIndexOf(last), last.size(), QStringLiteral("edited"));
        QCOMPARE(rtf::plainText(saved.page(1).rtf), expected);
    }

    void closeWhileTableLoadsKeepsThePage_data() {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("cells");
        QTest::addColumn<bool>("editedBefore");
        QTest::addColumn<int>("answer"); // to the exit question, when one is asked
        QTest::newRow("3 cells, nothing changed: no question") << 6000 << 3 << false << -1;
        QTest::newRow("63 cells, page 1 edited: saved, the table page as stored")
            << 300 << 63 << true << int(Dialogs::Answer::Yes);
        QTest::newRow("page 1 edited, close cancelled: the table comes in again whole")
            << 6000 << 3 << true << int(Dialogs::Answer::Cancel);
    }

    // Page 2 holds a table of six parts, so that it comes in over several slices. While it
    // does, the window serves events: commands that reach it (save, page turns) are refused,
    // and a close ends the load promptly. The half-shown table is never stored: the file and
    // the page table keep page 2's RTF byte for byte, with page 1's edit saved when asked. A
    // window kept open shows the whole table again.
    void closeWhileTableLoadsKeepsThePage() {
        QFETCH(int, rows);
        QFETCH(int, cells);
        QFETCH(bool, editedBefore);
        QFETCH(int, answer);
        const QByteArray table = test::tablePage(rows, cells);
        const QString path = f.file(QStringLiteral("table.qzd"));
        QVERIFY(saveHelpFile(path, *test::firstPageThen(table)).ok());
        const QByteArray before = test::bytesOf(path);

        MakerMainWindow* w = f.start(path);
        QVERIFY(w);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        RichTextControl* editor = w->editor();
        if (editedBefore) {
            editor->setSelStart(0);
            MakerFixture::type(w, QStringLiteral("edited "));
            QVERIFY(w->document().isModified());
            f.dialogs().answerNext(Dialogs::Answer(answer));
        }

        bool loadingWhenServed = false;
        bool painted = false;
        QElapsedTimer sinceClose;
        QTimer::singleShot(0, w, [&] {
            loadingWhenServed = editor->isLoading();
            // A paint of the window is served too.
            w->repaint();
            painted = true;
            MakerFixture::trigger(w, "qzd32mk_file_save");
            MakerFixture::trigger(w, "qzd32mk_Return_Page");
            MakerFixture::trigger(w, "qzd32mk_Next_Page");
            QCOMPARE(w->document().currentPage(), 2);
            sinceClose.start();
            w->close();
        });
        MakerFixture::trigger(w, "qzd32mk_Next_Page");
        QVERIFY(loadingWhenServed);
        QVERIFY(painted);
        QVERIFY(!editor->isLoading());
        QVERIFY(!editor->holdsWholePage());

        if (answer == int(Dialogs::Answer::Cancel)) {
            QTRY_VERIFY_WITH_TIMEOUT(f.dialogs().scriptDone(), 5000);
            QTRY_VERIFY_WITH_TIMEOUT(editor->holdsWholePage() && !editor->isLoading(), 60000);
            QVERIFY(w->isVisible());
            QCOMPARE(editor->plainText(), rtf::plainText(table));
            QVERIFY(w->document().isModified());
            QVERIFY(!w->document().isShownPageEdited());
            f.dialogs().answerNext(Dialogs::Answer::No);
            QVERIFY(w->close());
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(!w->isVisible(), 5000);
            QVERIFY2(sinceClose.elapsed() < 5000,
                     qPrintable(QString::number(sinceClose.elapsed())));
        }

        QCOMPARE(w->document().page(2).rtf, table);
        QCOMPARE(rtf::plainText(w->document().page(1).rtf),
                 editedBefore ? QStringLiteral("edited first page") : QStringLiteral("first page"));
        const QByteArray after = test::bytesOf(path);
        if (answer != int(Dialogs::Answer::Yes)) {
            QCOMPARE(after, before);
            return;
        }
        HelpDocument saved;
        QVERIFY(readHelpFile(path, saved, Reader::Maker).ok());
        QCOMPARE(saved.pageCount(), 2);
        QCOMPARE(saved.page(2).rtf, table);
        QCOMPARE(rtf::plainText(saved.page(1).rtf), QStringLiteral("edited first page"));
    }
};

QTEST_MAIN(TestLongTables)
#include "tst_longtables.moc"
