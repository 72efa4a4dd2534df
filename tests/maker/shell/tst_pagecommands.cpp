#include "core/helpfile.h"
#include "core/pages.h"
#include "maker/common/shelltexts.h"
#include "maker/entries/companionwindows.h"
#include "support/makerfixture.h"

#include <QListWidget>

using namespace quillo;
using namespace quillo::maker;
using Answer = Dialogs::Answer;

namespace {

// A help file of `pages` pages: page n reads "page n", has the contents title "章 n" and,
// on even pages, the keywords "鍵 n" and "key n".
void writePages(const QString& path, int pages) {
    auto doc = std::make_unique<HelpDocument>();
    doc->pages.resize(pages);
    for (int p = 1; p <= pages; ++p) {
        doc->page(p).rtf = QByteArray("{\\rtf1\\ansi page ") + QByteArray::number(p) + "\\par}";
        doc->page(p).title = QStringLiteral("章 %1").arg(p);
        if (p % 2 == 0) {
            doc->page(p).keywords = {QStringLiteral("鍵 %1").arg(p),
                                     QStringLiteral("key %1").arg(p)};
        }
    }
    QVERIFY(saveHelpFile(path, *doc).ok());
}

QString shown(const MakerMainWindow* w) {
    return w->editor()->plainText();
}

QString titleEnd(int page, int count) {
    return QStringLiteral(" Page %1 / %2").arg(page).arg(count);
}

} // namespace

class TestPageCommands : public QObject {
    Q_OBJECT
    MakerFixture f;

    MakerMainWindow* openPages(int pages) {
        writePages(f.file(QStringLiteral("pages.qzd")), pages);
        return f.start(f.file(QStringLiteral("pages.qzd")));
    }
    static void goTo(MakerMainWindow* w, int page) {
        while (w->document().currentPage() < page)
            MakerFixture::trigger(w, "qzd32mk_Next_Page");
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { f.setUp(); }
    void cleanup() { f.tearDown(); }

    void insertOnPage3Of5() {
        MakerMainWindow* w = openPages(5);
        QVERIFY(w);
        goTo(w, 3);
        MakerFixture::click(w, "qzd32mk_insP");
        MakerFixture::escapeEntryDialog(w);
        QCOMPARE(w->document().pageCount(), 6);
        QCOMPARE(w->document().currentPage(), 3);
        QVERIFY(w->windowTitle().endsWith(titleEnd(3, 6)));
        QCOMPARE(shown(w), QString());
        QVERIFY(w->document().page(3).rtf.isEmpty());
        QVERIFY(!w->document().page(3).hasTitle());
        QCOMPARE(w->contentsWindow()->list()->item(2)->text(), QStringLiteral("p 3  "));
        QCOMPARE(w->contentsWindow()->list()->item(3)->text(), QStringLiteral("p 4  章 3"));
        MakerFixture::trigger(w, "qzd32mk_Next_Page");
        QCOMPARE(shown(w), QStringLiteral("page 3"));
        QVERIFY(w->document().isModified());
    }

    void deleteLastPageShowsThePageBefore() {
        MakerMainWindow* w = openPages(5);
        QVERIFY(w);
        goTo(w, 5);
        f.dialogs().answerNext(Answer::Yes);
        MakerFixture::trigger(w, "qzd32mk_delete_Page");
        const auto question = f.dialogs().messages().last();
        QCOMPARE(question.title, QStringLiteral("qzd32Maker ﾍﾟｰｼﾞ削除"));
        QCOMPARE(question.text, QStringLiteral(" 5ページを削除します。目次、キーも削除されます。"));
        QCOMPARE(question.buttons, Dialogs::Buttons::YesNo);
        QCOMPARE(w->document().pageCount(), 4);
        QCOMPARE(w->document().currentPage(), 4);
        QCOMPARE(shown(w), QStringLiteral("page 4"));
        QVERIFY(w->windowTitle().endsWith(titleEnd(4, 4)));
    }

    void answeringNoKeepsThePage() {
        MakerMainWindow* w = openPages(2);
        QVERIFY(w);
        f.dialogs().answerNext(Answer::No);
        MakerFixture::click(w, "qzd32mk_delP");
        QCOMPARE(w->document().pageCount(), 2);
        QVERIFY(!w->document().isModified());
        QCOMPARE(w->document().pageUndo().state, PageUndo::Nothing);
    }

    // Undo brings page 2 back whole; a second undo deletes it again without asking.
    void deleteThenUndoThenRedo() {
        MakerMainWindow* w = openPages(4);
        QVERIFY(w);
        goTo(w, 2);
        MakerFixture::type(w, QStringLiteral("追記"));
        f.dialogs().answerNext(Answer::Yes);
        MakerFixture::trigger(w, "qzd32mk_delete_Page");
        QCOMPARE(w->document().pageCount(), 3);
        QCOMPARE(shown(w), QStringLiteral("page 3"));

        MakerFixture::click(w, "qzd32mk_undoP");
        QCOMPARE(w->document().pageCount(), 4);
        QCOMPARE(w->document().currentPage(), 2);
        QCOMPARE(shown(w), QStringLiteral("追記page 2"));
        QCOMPARE(w->document().page(2).title.value_or(QString()), QStringLiteral("章 2"));
        QCOMPARE(w->document().page(2).keywords.size(), 2);
        QCOMPARE(w->document().page(2).keywords.value(1), QStringLiteral("key 2"));
        QCOMPARE(w->keywordWindow()->list()->currentItem()->text(), QStringLiteral("p 2  鍵 2"));
        QCOMPARE(w->contentsWindow()->list()->currentRow(), 1);
        MakerFixture::trigger(w, "qzd32mk_Next_Page");
        QCOMPARE(shown(w), QStringLiteral("page 3"));
        MakerFixture::trigger(w, "qzd32mk_Return_Page");

        const int asked = int(f.dialogs().messages().size());
        MakerFixture::trigger(w, "qzd32mk_undo_Page");
        QCOMPARE(f.dialogs().messages().size(), asked);
        QCOMPARE(w->document().pageCount(), 3);
        QCOMPARE(w->document().page(2).title.value_or(QString()), QStringLiteral("章 3"));
        QVERIFY(w->windowTitle().endsWith(titleEnd(2, 3)));
    }

    // Undoing a deletion on another page keeps the edits of the page shown.
    void undoKeepsTheShownPagesEdits() {
        MakerMainWindow* w = openPages(3);
        QVERIFY(w);
        f.dialogs().answerNext(Answer::Yes);
        MakerFixture::trigger(w, "qzd32mk_delete_Page");
        goTo(w, 2);
        MakerFixture::type(w, QStringLiteral("x"));
        MakerFixture::trigger(w, "qzd32mk_undo_Page");
        QCOMPARE(shown(w), QStringLiteral("page 1"));
        goTo(w, 3);
        QCOMPARE(shown(w), QStringLiteral("xpage 3"));
    }

    void undoOfNewAndInsert_data() {
        QTest::addColumn<QByteArray>("command");
        QTest::newRow("new") << QByteArray("qzd32mk_new_Page");
        QTest::newRow("insert") << QByteArray("qzd32mk_insert_Page");
    }
    void undoOfNewAndInsert() {
        QFETCH(QByteArray, command);
        MakerMainWindow* w = openPages(3);
        QVERIFY(w);
        goTo(w, 2);
        MakerFixture::trigger(w, command.constData());
        MakerFixture::escapeEntryDialog(w);
        QCOMPARE(w->document().pageCount(), 4);
        MakerFixture::trigger(w, "qzd32mk_undo_Page");
        QCOMPARE(w->document().pageCount(), 3);
        for (int p = 1; p <= 3; ++p)
            QCOMPARE(w->document().page(p).title.value_or(QString()),
                     QStringLiteral("章 %1").arg(p));
    }

    void hundredPagesRefuseMore_data() {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QString>("title");
        QTest::newRow("new") << QByteArray("qzd32mk_new_Page")
                             << QStringLiteral("qzd32Maker 新規ページ");
        QTest::newRow("insert") << QByteArray("qzd32mk_insert_Page")
                                << QStringLiteral("qzd32Maker ページ挿入");
    }
    void hundredPagesRefuseMore() {
        QFETCH(QByteArray, command);
        QFETCH(QString, title);
        MakerMainWindow* w = openPages(100);
        QVERIFY(w);
        f.dialogs().answerNext(Answer::Ok);
        MakerFixture::trigger(w, command.constData());
        QCOMPARE(f.dialogs().messages().size(), 1);
        QCOMPARE(f.dialogs().messages()[0].title, title);
        QCOMPARE(f.dialogs().messages()[0].text,
                 QStringLiteral("作成できるページ数は、100ページ以内です。"));
        QCOMPARE(w->document().pageCount(), 100);
        QVERIFY(!w->document().isModified());
    }

    void movingKeepsEditsWithoutMarkingTheDocument() {
        MakerMainWindow* w = openPages(3);
        QVERIFY(w);
        MakerFixture::trigger(w, "qzd32mk_Next_Page");
        MakerFixture::trigger(w, "qzd32mk_Next_Page");
        MakerFixture::trigger(w, "qzd32mk_Next_Page"); // on the last page: nothing
        QCOMPARE(w->document().currentPage(), 3);
        MakerFixture::click(w, "qzd32mk_returnP");
        MakerFixture::click(w, "qzd32mk_returnP");
        MakerFixture::click(w, "qzd32mk_returnP");
        QCOMPARE(w->document().currentPage(), 1);
        QVERIFY(!w->document().isModified());
        QVERIFY(!w->document().isShownPageEdited());

        MakerFixture::type(w, QStringLiteral("新"));
        QVERIFY(w->document().isShownPageEdited());
        // Page Down and Page Up in the editor move between pages.
        QTest::keyClick(w->editor(), Qt::Key_PageDown);
        QCOMPARE(w->document().currentPage(), 2);
        QCOMPARE(shown(w), QStringLiteral("page 2"));
        QTest::keyClick(w->editor(), Qt::Key_PageUp);
        QTest::keyClick(w->editor(), Qt::Key_PageUp);
        QCOMPARE(w->document().currentPage(), 1);
        QCOMPARE(shown(w), QStringLiteral("新page 1"));
        QVERIFY(!w->document().isShownPageEdited());
    }

    void emptyDocumentHasNothingToDeleteOrUndo() {
        MakerMainWindow* w = f.start();
        QVERIFY(w);
        f.dialogs().answerNext(Answer::Ok);
        MakerFixture::trigger(w, "qzd32mk_delete_Page");
        f.dialogs().answerNext(Answer::Ok);
        MakerFixture::trigger(w, "qzd32mk_undo_Page");
        const auto messages = f.dialogs().messages();
        QCOMPARE(messages.size(), 2);
        QCOMPARE(messages[0].text, QStringLiteral("削除する内容が有りません。"));
        QCOMPARE(messages[1].title, QStringLiteral("qzd32Maker 元に戻す<頁編集>"));
        QCOMPARE(messages[1].text, QStringLiteral("元に戻すページ編集内容は有りません。"));
        QVERIFY(!w->document().isModified());
    }

    // A page deleted in one document is never put back into the next one.
    void anotherDocumentHasNothingToUndo_data() {
        QTest::addColumn<QByteArray>("command"); // menu item, or "recent" for list entry 2
        QTest::newRow("open") << QByteArray("qzd32mk_file_open");
        QTest::newRow("recent entry") << QByteArray("recent");
        QTest::newRow("new file") << QByteArray("qzd32mk_file_new");
    }
    void anotherDocumentHasNothingToUndo() {
        QFETCH(QByteArray, command);
        const QString other = f.file(QStringLiteral("other.qzd"));
        writePages(other, 2);
        MakerMainWindow* first = f.start(other);
        QVERIFY(first);
        QVERIFY(first->close()); // leaves other.qzd in the recent list
        MakerMainWindow* w = openPages(4);
        QVERIFY(w);
        goTo(w, 2);
        f.dialogs().answerNext(Answer::Yes);
        MakerFixture::trigger(w, "qzd32mk_delete_Page");
        QCOMPARE(w->document().pageUndo().state, PageUndo::Deleted);

        f.dialogs().answerNext(Answer::No); // do not save the deletion
        if (command == "qzd32mk_file_open")
            f.dialogs().chooseFileNext(other);
        if (command == "recent") {
            const QList<QAction*> entries =
                w->findChildren<QAction*>(QStringLiteral("qzd32mk_FileArray"));
            const auto entry = std::find_if(entries.begin(), entries.end(),
                                            [](QAction* a) { return a->data().toInt() == 2; });
            QVERIFY(entry != entries.end());
            QCOMPARE((*entry)->text(), other);
            (*entry)->trigger();
        } else {
            MakerFixture::trigger(w, command.constData());
        }
        const int pages = command == "qzd32mk_file_new" ? 1 : 2;
        QCOMPARE(w->document().pageCount(), pages);

        f.dialogs().answerNext(Answer::Ok);
        MakerFixture::trigger(w, "qzd32mk_undo_Page");
        QCOMPARE(f.dialogs().messages().last().text,
                 QStringLiteral("元に戻すページ編集内容は有りません。"));
        QCOMPARE(w->document().pageCount(), pages);
        QVERIFY(!w->document().isModified());
    }

    // Deleting the only page of a document with content leaves one empty page; the undo
    // puts the content back without adding a page.
    void deletingTheOnlyPageLeavesAnEmptyOne() {
        MakerMainWindow* w = openPages(1);
        QVERIFY(w);
        f.dialogs().answerNext(Answer::Yes);
        MakerFixture::trigger(w, "qzd32mk_delete_Page");
        QCOMPARE(w->document().pageCount(), 1);
        QCOMPARE(shown(w), QString());
        QVERIFY(!w->document().page(1).hasTitle());
        QVERIFY(w->windowTitle().endsWith(titleEnd(1, 1)));
        MakerFixture::trigger(w, "qzd32mk_undo_Page");
        QCOMPARE(w->document().pageCount(), 1);
        QCOMPARE(shown(w), QStringLiteral("page 1"));
        QCOMPARE(w->document().page(1).title.value_or(QString()), QStringLiteral("章 1"));
    }

    void savingEndsThePageUndo() {
        MakerMainWindow* w = openPages(2);
        QVERIFY(w);
        MakerFixture::trigger(w, "qzd32mk_new_Page");
        MakerFixture::escapeEntryDialog(w);
        MakerFixture::trigger(w, "qzd32mk_file_save");
        f.dialogs().answerNext(Answer::Ok);
        MakerFixture::trigger(w, "qzd32mk_undo_Page");
        QCOMPARE(f.dialogs().messages().last().text,
                 QStringLiteral("元に戻すページ編集内容は有りません。"));
        auto reread = std::make_unique<HelpDocument>();
        QVERIFY(readHelpFile(f.file(QStringLiteral("pages.qzd")), *reread, Reader::Viewer).ok());
        QCOMPARE(reread->pageCount(), 3);
    }

    // What the entry dialog's cancel uses: the added page goes again, the document's
    // changed mark and the page undo are as before the command.
    void silentDeleteRemovesTheAddedPage() {
        MakerMainWindow* w = openPages(3);
        QVERIFY(w);
        f.dialogs().answerNext(Answer::Yes);
        MakerFixture::trigger(w, "qzd32mk_delete_Page"); // page 1 deleted: undo record
        MakerFixture::trigger(w, "qzd32mk_insert_Page");
        MakerFixture::escapeEntryDialog(w);
        QCOMPARE(w->document().entryMode(), EntryMode::InsertedPage);
        QVERIFY(w->document().savedModified());
        w->document().deletePageSilently();
        QCOMPARE(w->document().pageCount(), 2);
        QCOMPARE(w->document().pageUndo().state, PageUndo::Deleted);
        QCOMPARE(w->document().pageUndo().deleted.title.value_or(QString()),
                 QStringLiteral("章 1"));
        MakerFixture::trigger(w, "qzd32mk_undo_Page");
        QCOMPARE(w->document().pageCount(), 3);
        QCOMPARE(w->document().page(1).title.value_or(QString()), QStringLiteral("章 1"));
    }
};

QTEST_MAIN(TestPageCommands)
#include "tst_pagecommands.moc"
