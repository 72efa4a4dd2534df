#include "core/helpfile.h"
#include "maker/links/linkcommands.h"
#include "maker/links/linkdialog.h"
#include "rtf/pagelinks.h"
#include "support/makerfixture.h"
#include "viewer/viewerwindow.h"
#include "winsvc/linkpresenter.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using namespace quillo;
using namespace quillo::maker;
using Answer = Dialogs::Answer;

namespace {

// Page n reads "page n" and has the contents title "章 n".
void writePages(const QString& path, int pages) {
    auto doc = std::make_unique<HelpDocument>();
    doc->pages.resize(pages);
    for (int p = 1; p <= pages; ++p) {
        doc->page(p).rtf = QByteArray("{\\rtf1\\ansi page ") + QByteArray::number(p) + "\\par}";
        doc->page(p).title = QStringLiteral("章 %1").arg(p);
    }
    QVERIFY(saveHelpFile(path, *doc).ok());
}

// "text -> target" for every link of a page's RTF.
QStringList linksIn(const QByteArray& rtf) {
    QStringList lines;
    for (const rtf::PageLink& link : rtf::linksOf(rtf))
        lines << link.text + QStringLiteral(" -> ") + link.target;
    return lines;
}

} // namespace

// A writer makes links with the link dialog and keeps them right through the page commands.
class TestMakerLinks : public QObject {
    Q_OBJECT
    MakerFixture f;

    MakerMainWindow* openPages(int pages) {
        writePages(f.file(QStringLiteral("pages.qzd")), pages);
        return f.start(f.file(QStringLiteral("pages.qzd")));
    }
    static void goTo(MakerMainWindow* w, int page) {
        while (w->document().currentPage() > page)
            MakerFixture::trigger(w, "qzd32mk_Return_Page");
        while (w->document().currentPage() < page)
            MakerFixture::trigger(w, "qzd32mk_Next_Page");
    }
    // Selects `length` characters from `start` and links them to the page list's `row` or,
    // when `row` is -1, to `address`, by the dialog's OK.
    static void linkByDialog(MakerMainWindow* w, int start, int length, int row,
                             const QString& address = {}) {
        w->editor()->select(start, length);
        MakerFixture::trigger(w, "qzd32mk_link_set");
        LinkDialog* dialog = w->linkCommands()->dialog();
        QVERIFY(dialog);
        QPushButton* ok = dialog->buttons()->button(QDialogButtonBox::Ok);
        if (row >= 0) {
            dialog->pageList()->setCurrentRow(row);
        } else {
            dialog->addressBox()->setFocus();
            QTest::keyClicks(dialog->addressBox(), address);
        }
        QVERIFY(ok->isEnabled());
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(!w->linkCommands()->dialog());
    }
    static QStringList pageLinks(MakerMainWindow* w, int page) {
        w->document().storeShownPage();
        return linksIn(w->document().page(page).rtf);
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { f.setUp(); }
    void cleanup() { f.tearDown(); }

    void linkByDialogSurvivesSaveAndReopen() {
        MakerMainWindow* w = openPages(3);
        QVERIFY(w);
        w->editor()->select(0, 4);
        MakerFixture::trigger(w, "qzd32mk_link_set");
        LinkDialog* dialog = w->linkCommands()->dialog();
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("qzd32Maker ﾘﾝｸ設定"));
        QCOMPARE(dialog->pageList()->count(), 3);
        QCOMPARE(dialog->pageList()->item(2)->text(), QStringLiteral("p 3  章 3"));
        QPushButton* ok = dialog->buttons()->button(QDialogButtonBox::Ok);
        QVERIFY(!ok->isEnabled());
        // Only the three kinds of web address are offered.
        QTest::keyClicks(dialog->addressBox(), QStringLiteral("ftp://example.org"));
        QVERIFY(!ok->isEnabled());
        dialog->addressBox()->clear();
        dialog->pageList()->setCurrentRow(2);
        QVERIFY(ok->isEnabled());
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(w->document().isModified());
        QCOMPARE(pageLinks(w, 1), QStringList{QStringLiteral("page -> #3")});
        // The link is drawn underlined in the link colour, not stored so.
        QTRY_COMPARE(w->editor()->extraSelections().size(), 1);
        QVERIFY(!w->document().page(1).rtf.contains("\\ul"));

        MakerFixture::trigger(w, "qzd32mk_file_save");
        HelpDocument reread;
        QVERIFY(readHelpFile(f.file(QStringLiteral("pages.qzd")), reread, Reader::Maker).ok());
        QCOMPARE(linksIn(reread.page(1).rtf), QStringList{QStringLiteral("page -> #3")});
        // The text stays ordinary text for readers that ignore the field.
        QVERIFY(reread.page(1).rtf.contains("page"));

        // Reopened, the dialog shows the link's page chosen; Ctrl+click follows the link.
        MakerMainWindow* again = f.start(f.file(QStringLiteral("pages.qzd")));
        QVERIFY(again);
        again->show();
        QVERIFY(QTest::qWaitForWindowExposed(again));
        again->editor()->setSelStart(2);
        MakerFixture::trigger(again, "qzd32mk_link_set");
        QCOMPARE(again->linkCommands()->dialog()->pageList()->currentRow(), 2);
        again->linkCommands()->dialog()->reject();
        QTextCursor at(again->editor()->document());
        at.setPosition(2);
        const QPoint point = again->editor()->cursorRect(at).center();
        QTest::mouseClick(again->editor()->viewport(), Qt::LeftButton, {}, point);
        QCOMPARE(again->document().currentPage(), 1);
        QTest::mouseClick(again->editor()->viewport(), Qt::LeftButton, Qt::ControlModifier, point);
        QTRY_COMPARE(again->document().currentPage(), 3);
        QCOMPARE(again->editor()->plainText(), QStringLiteral("page 3"));
    }

    // A link made and not yet saved is followed in the preview, and the reader goes back.
    void previewFollowsLinks() {
        MakerMainWindow* w = openPages(3);
        QVERIFY(w);
        linkByDialog(w, 0, 4, 2);
        MakerFixture::trigger(w, "qzd32mk_preview_help");
        viewer::ViewerWindow* preview = w->previewWindow();
        QVERIFY(preview);
        auto* page = preview->findChild<RichTextControl*>(QStringLiteral("RichTextBox2"));
        QTRY_COMPARE(page->extraSelections().size(), 1);
        QTextCursor at(page->document());
        at.setPosition(2);
        QTest::mouseClick(page->viewport(), Qt::LeftButton, {}, page->cursorRect(at).center());
        QTRY_COMPARE(preview->currentPage(), 3);
        QVERIFY(preview->windowTitle().endsWith(QStringLiteral(" Page 3 / 3")));
        preview->findChild<QAction*>(QStringLiteral("pre_go_back"))->trigger();
        QCOMPARE(preview->currentPage(), 1);
        QVERIFY(!preview->findChild<QAction*>(QStringLiteral("pre_go_back"))->isEnabled());
        QVERIFY(preview->close());
        // The preview's pages are the writer's: nothing in them changed.
        QCOMPARE(pageLinks(w, 1), QStringList{QStringLiteral("page -> #3")});
    }

    void webAddressAndRemovingLinks() {
        MakerMainWindow* w = openPages(2);
        QVERIFY(w);
        linkByDialog(w, 5, 1, -1, QStringLiteral("https://example.org/help?a=1"));
        QCOMPARE(pageLinks(w, 1), QStringList{QStringLiteral("1 -> https://example.org/help?a=1")});
        linkByDialog(w, 0, 4, 1);
        QCOMPARE(pageLinks(w, 1).size(), 2);
        // ﾘﾝｸ解除 with the caret inside a link removes that link only.
        w->editor()->setSelStart(2);
        MakerFixture::trigger(w, "qzd32mk_link_clear");
        QCOMPARE(pageLinks(w, 1), QStringList{QStringLiteral("1 -> https://example.org/help?a=1")});
        QCOMPARE(w->editor()->plainText(), QStringLiteral("page 1"));
        // With nothing selected and no link at the caret, the link command asks for text.
        w->editor()->setSelStart(0);
        MakerFixture::trigger(w, "qzd32mk_link_clear");
        f.dialogs().answerNext(Answer::Ok);
        w->editor()->selectAll();
        MakerFixture::trigger(w, "qzd32mk_link_clear");
        QVERIFY(pageLinks(w, 1).isEmpty());
        w->editor()->setSelStart(0);
        MakerFixture::trigger(w, "qzd32mk_link_set");
        QVERIFY(!w->linkCommands()->dialog());
        QCOMPARE(f.dialogs().messages().last().text,
                 QStringLiteral("ﾘﾝｸにする文字列を選択して下さい。"));
    }

    // Links from page 1 to pages 3 and 5; pages are inserted and deleted before and at them.
    void pageCommandsRenumberLinks() {
        MakerMainWindow* w = openPages(5);
        QVERIFY(w);
        linkByDialog(w, 0, 4, 2);
        linkByDialog(w, 5, 1, 4);
        const QStringList original{QStringLiteral("page -> #3"), QStringLiteral("1 -> #5")};
        QCOMPARE(pageLinks(w, 1), original);

        goTo(w, 2);
        MakerFixture::trigger(w, "qzd32mk_insert_Page");
        MakerFixture::escapeEntryDialog(w);
        QCOMPARE(pageLinks(w, 1),
                 (QStringList{QStringLiteral("page -> #4"), QStringLiteral("1 -> #6")}));
        // Undoing the insert removes the page again and the numbers go back.
        MakerFixture::trigger(w, "qzd32mk_undo_Page");
        QCOMPARE(pageLinks(w, 1), original);

        // Deleting the target page leaves plain text; the page undo brings the link back.
        goTo(w, 3);
        f.dialogs().answerNext(Answer::Yes);
        MakerFixture::trigger(w, "qzd32mk_delete_Page");
        QCOMPARE(pageLinks(w, 1), QStringList{QStringLiteral("1 -> #4")});
        QCOMPARE(linksIn(w->document().page(1).rtf).size(), 1);
        MakerFixture::trigger(w, "qzd32mk_undo_Page");
        QCOMPARE(pageLinks(w, 1), original);
        // The undo alternates: a second one deletes the page again, links and all.
        MakerFixture::trigger(w, "qzd32mk_undo_Page");
        QCOMPARE(pageLinks(w, 1), QStringList{QStringLiteral("1 -> #4")});
        MakerFixture::trigger(w, "qzd32mk_undo_Page");

        // Page 1 edited between the delete and its undo: the numbers come back, the removed
        // link stays plain text (the edit is not thrown away).
        goTo(w, 2);
        f.dialogs().answerNext(Answer::Yes);
        MakerFixture::trigger(w, "qzd32mk_delete_Page");
        goTo(w, 1);
        w->editor()->setSelStart(5); // after the blank, outside both links
        f.type(w, QStringLiteral("!"));
        goTo(w, 2);
        MakerFixture::trigger(w, "qzd32mk_undo_Page");
        QCOMPARE(pageLinks(w, 1), original);
        QCOMPARE(w->document().page(1).rtf.contains("!"), true);
    }

    void deletingALinkTargetWithTheEditorOnTheLinkingPage() {
        MakerMainWindow* w = openPages(3);
        QVERIFY(w);
        goTo(w, 3);
        linkByDialog(w, 0, 4, 1);
        goTo(w, 2);
        f.dialogs().answerNext(Answer::Yes);
        MakerFixture::trigger(w, "qzd32mk_delete_Page");
        QCOMPARE(w->document().currentPage(), 2);
        // The page shown now is the linking page, read again from the table: no link left.
        QVERIFY(rtf::linksOf(*w->editor()->document()).isEmpty());
        QCOMPARE(w->editor()->plainText(), QStringLiteral("page 3"));
    }
};

QTEST_MAIN(TestMakerLinks)
#include "tst_makerlinks.moc"
