#include "maker/document/makerdocument.h"
#include "maker/document/pageview.h"

#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

using namespace quillo;
using namespace quillo::maker;

namespace {

// The editor as a byte string: what it shows and what the writer typed into it.
class FakeView : public PageView {
public:
    QByteArray shown;
    int emptied = 0;
    QByteArray shownRtf() const override { return shown; }
    void showRtf(const QByteArray& rtf) override { shown = rtf; }
    void showEmptyPage() override {
        shown.clear();
        ++emptied;
    }
};

HelpDocument pages(int count) {
    HelpDocument doc;
    for (int p = 1; p <= count; ++p) {
        HelpPage& page = doc.pages.emplace_back();
        page.rtf = "page " + QByteArray::number(p);
        page.title = QStringLiteral("章 %1").arg(p);
        page.keywords = {QStringLiteral("鍵 %1").arg(p)};
    }
    return doc;
}

QByteArrayList texts(const MakerDocument& doc) {
    QByteArrayList out;
    for (const HelpPage& page : doc.help().pages)
        out << page.rtf;
    return out;
}

} // namespace

class TestMakerDocument : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Typing, moving, appending, inserting, deleting and undoing, as the writer does them,
    // with what the observers are told at each step.
    void pageScenario() {
        FakeView view;
        MakerDocument doc(view);
        QSignalSpy pagesChanged(&doc, &MakerDocument::pagesChanged);
        QSignalSpy current(&doc, &MakerDocument::currentPageChanged);
        QSignalSpy modified(&doc, &MakerDocument::modifiedChanged);

        doc.adoptFile(pages(3), QStringLiteral("/help/a.qzd"));
        QVERIFY(!doc.isUnnamed());
        QCOMPARE(doc.fileTitle(), QStringLiteral("a.qzd"));
        QCOMPARE(view.shown, QByteArray("page 1"));
        QCOMPARE(pagesChanged.count(), 1);

        // An edit is stored when the page is left; moving alone changes nothing.
        view.shown = "edited 1";
        doc.noteEditorEdit();
        QVERIFY(doc.isModified());
        QCOMPARE(modified.count(), 1);
        QVERIFY(doc.nextPage());
        QCOMPARE(current.last().at(0).toInt(), 2);
        QCOMPARE(view.shown, QByteArray("page 2"));
        QCOMPARE(doc.page(1).rtf, QByteArray("edited 1"));
        QVERIFY(doc.nextPage());
        QVERIFY(!doc.nextPage()); // the last page stays
        QCOMPARE(doc.currentPage(), 3);

        // Insert before page 3: the empty page takes its number.
        doc.setModified(false);
        QVERIFY(doc.insertPage());
        QCOMPARE(texts(doc), (QByteArrayList{"edited 1", "page 2", "", "page 3"}));
        QCOMPARE(doc.currentPage(), 3);
        QCOMPARE(view.emptied, 1);
        QVERIFY(doc.isModified());
        QCOMPARE(doc.entryMode(), EntryMode::InsertedPage);
        QVERIFY(!doc.savedModified());

        // Undo removes it again, redo brings it back: undo and redo alternate.
        QVERIFY(doc.undoPageCommand());
        QCOMPARE(doc.pageCount(), 3);
        QCOMPARE(view.shown, QByteArray("page 3"));
        QCOMPARE(doc.pageUndo().state, PageUndo::Deleted);
        QVERIFY(doc.undoPageCommand());
        QCOMPARE(doc.pageCount(), 4);
        QVERIFY(doc.page(3).isEmpty());

        // Deleting the last page shows the one before; undo restores it with its entries.
        while (doc.nextPage()) {
        }
        doc.deleteCurrentPage();
        QCOMPARE(doc.currentPage(), 3);
        QCOMPARE(doc.pageCount(), 3);
        QVERIFY(doc.undoPageCommand());
        QCOMPARE(doc.currentPage(), 4);
        QCOMPARE(doc.page(4).title, QStringLiteral("章 3"));
        QCOMPARE(doc.page(4).keywords, QStringList{QStringLiteral("鍵 3")});
        QCOMPARE(view.shown, QByteArray("page 3"));

        // Appending after a save: the entry dialog's cancel takes the page away silently.
        doc.clearChangeFlags();
        QVERIFY(!doc.undoPageCommand()); // nothing to undo after a save
        QVERIFY(doc.appendPage());
        QCOMPARE(doc.currentPage(), 5);
        QCOMPARE(doc.entryMode(), EntryMode::NewPage);
        doc.deletePageSilently();
        doc.setModified(doc.savedModified());
        QCOMPARE(doc.pageCount(), 4);
        QVERIFY(!doc.isModified());
        QCOMPARE(doc.pageUndo().state, PageUndo::Nothing);
    }

    void pageLimit() {
        FakeView view;
        MakerDocument doc(view);
        doc.adoptFile(pages(99), QStringLiteral("/help/full.qzd"));
        QVERIFY(doc.appendPage());
        QCOMPARE(doc.pageCount(), 100);
        QSignalSpy pagesChanged(&doc, &MakerDocument::pagesChanged);
        QVERIFY(!doc.appendPage());
        QVERIFY(!doc.insertPage());
        QCOMPARE(doc.pageCount(), 100);
        QCOMPARE(pagesChanged.count(), 0);
    }

    // The only page is emptied, not removed; undo puts its content back in place.
    void deletingTheOnlyPage() {
        FakeView view;
        MakerDocument doc(view);
        doc.adoptFile(pages(1), QStringLiteral("/help/one.qzd"));
        doc.deleteCurrentPage();
        QCOMPARE(doc.pageCount(), 1);
        QVERIFY(doc.page(1).isEmpty());
        QVERIFY(doc.undoPageCommand());
        QCOMPARE(doc.pageCount(), 1);
        QCOMPARE(doc.page(1).rtf, QByteArray("page 1"));
        QCOMPARE(view.shown, QByteArray("page 1"));
    }

    // Unnamed is a state of its own: a file called like the unnamed document is a file.
    void unnamedState() {
        FakeView view;
        MakerDocument doc(view);
        QSignalSpy named(&doc, &MakerDocument::nameChanged);
        doc.startUnnamed(qint32(0x80000005u));
        QVERIFY(doc.isUnnamed());
        QCOMPARE(doc.displayPath(), QStringLiteral("新規ファイル"));
        QCOMPARE(doc.pageCount(), 1);
        doc.savedAs(QStringLiteral("/help/新規ファイル"));
        QVERIFY(!doc.isUnnamed());
        QCOMPARE(doc.displayPath(), QStringLiteral("/help/新規ファイル"));
        QCOMPARE(named.count(), 2);
        // A file without pages still gives the editor one page to show.
        doc.adoptFile(HelpDocument{}, QStringLiteral("/help/empty.qzd"));
        QCOMPARE(doc.pageCount(), 1);
        QCOMPARE(doc.currentPage(), 1);
    }

    void entriesAreObserved() {
        FakeView view;
        MakerDocument doc(view);
        doc.adoptFile(pages(2), QStringLiteral("/help/a.qzd"));
        QSignalSpy entries(&doc, &MakerDocument::pageEntriesChanged);
        doc.setTitle(2, std::nullopt);
        doc.setKeywords(1, QStringList(70, QStringLiteral("k")));
        QCOMPARE(entries.count(), 2);
        QCOMPARE(entries.at(0).at(0).toInt(), 2);
        QVERIFY(!doc.page(2).hasTitle());
        QCOMPARE(doc.page(1).keywords.size(), 64);
        QVERIFY(doc.isModified());
    }
};

QTEST_MAIN(TestMakerDocument)
#include "tst_makerdocument.moc"
