#include "core/helpfile.h"
#include "maker/entries/companionwindows.h"
#include "support/makerfixture.h"
#include "viewer/viewerwindow.h"
#include "winsvc/twips.h"

#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>

using namespace quillo;
using namespace quillo::maker;
using Answer = Dialogs::Answer;

namespace {

QStringList lines(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

// Puts `text` into the editor of the current page and selects all of it.
void selectText(MakerMainWindow* w, const QString& text) {
    w->editor()->setPlainText(text);
    w->editor()->select(0, w->editor()->textLength());
}

void drop(QListWidget* list, const QString& text, int line = 0) {
    QMimeData mime;
    mime.setText(text);
    const QPoint at = list->visualItemRect(list->item(qMin(line, list->count() - 1))).center();
    // A drop reaches only the widget that took the drag when it entered.
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list->viewport(), &enter);
    QDropEvent event(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list->viewport(), &event);
    // The dropped text is taken once the drag has ended.
    QCoreApplication::processEvents();
}

QPushButton* button(CompanionWindow* window, const char* name) {
    return window->findChild<QPushButton*>(QString::fromLatin1(name));
}

} // namespace

class TestEntries : public QObject {
    Q_OBJECT
    MakerFixture f;

    // Gives the current page keywords through the keyword window's new command and the entry
    // dialog.
    static void addKeywords(MakerMainWindow* w, const QStringList& words) {
        for (const QString& word : words) {
            QTest::mouseClick(button(w->keywordWindow(), "Command1"), Qt::LeftButton);
            EntryDialog* dialog = MakerFixture::entryDialog(w);
            QVERIFY(dialog);
            dialog->textBox()->setText(word);
            QTest::keyClick(dialog->textBox(), Qt::Key_Return);
        }
    }
    // A new page through the main menu, titled in the entry dialog.
    static void newPage(MakerMainWindow* w, const QString& title) {
        MakerFixture::trigger(w, "qzd32mk_new_Page");
        EntryDialog* dialog = MakerFixture::entryDialog(w);
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("目次新規追加"));
        dialog->textBox()->setText(title);
        QTest::keyClick(dialog->textBox(), Qt::Key_Return);
        QVERIFY(!MakerFixture::entryDialog(w));
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { f.setUp(); }
    void cleanup() { f.tearDown(); }

    void titleFromSelection_data() {
        QTest::addColumn<QString>("selection");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<QString>("title");
        const QString x32 = QString(32, QLatin1Char('x'));
        QTest::newRow("32 characters") << x32 << false << x32;
        QTest::newRow("33 characters") << x32 + "y" << true << x32;
        QTest::newRow("line break at end") << "abc\n" << false << "abc";
        QTest::newRow("line break inside") << "ab\ncd" << false << "ab\ncd";
    }
    void titleFromSelection() {
        QFETCH(QString, selection);
        QFETCH(bool, asked);
        QFETCH(QString, title);
        MakerMainWindow* w = f.start();
        QVERIFY(w);
        selectText(w, selection);
        if (asked)
            f.dialogs().answerNext(Answer::Yes);
        MakerFixture::trigger(w, "qzd32mk_index_set");
        QCOMPARE(f.dialogs().messages().size(), asked ? 1 : 0);
        if (asked)
            QCOMPARE(f.dialogs().messages()[0].text,
                     "選択テキストが長すぎます。以下の先頭32文字を目次設定します。\n\n【" + title +
                         "】");
        QCOMPARE(w->document().page(1).title.value_or(QString()), title);
        QCOMPARE(lines(w->contentsWindow()->list()).value(0), "p 1  " + title);
        QVERIFY(w->document().isModified());
    }

    void replacingATitleAsksUnlessItIsEmpty() {
        MakerMainWindow* w = f.start();
        QVERIFY(w);
        selectText(w, QStringLiteral("旧"));
        MakerFixture::trigger(w, "qzd32mk_index_set");
        selectText(w, QStringLiteral("新"));
        f.dialogs().answerNext(Answer::No);
        MakerFixture::trigger(w, "qzd32mk_index_set");
        QCOMPARE(f.dialogs().messages().last().text,
                 QStringLiteral("このページの目次を 【旧】 → 【新】 に変更します。"));
        QCOMPARE(w->document().page(1).title.value_or(QString()), QStringLiteral("旧"));
        w->document().setTitle(1, QString());
        MakerFixture::trigger(w, "qzd32mk_index_set"); // an empty title is replaced silently
        QCOMPARE(w->document().page(1).title.value_or(QString()), QStringLiteral("新"));
        QCOMPARE(f.dialogs().messages().size(), 1);
    }

    void noSelectionAndUnstorableCharacterChangeNothing() {
        MakerMainWindow* w = f.start();
        QVERIFY(w);
        f.dialogs().answerNext(Answer::Ok);
        f.dialogs().answerNext(Answer::Ok);
        MakerFixture::trigger(w, "qzd32mk_index_set");
        selectText(w, QStringLiteral("価格€"));
        MakerFixture::trigger(w, "qzd32mk_key_set");
        const auto messages = f.dialogs().messages();
        QCOMPARE(messages[0].title, QStringLiteral("qzd32Maker 目次設定"));
        QCOMPARE(messages[0].text, QStringLiteral("目次設定するテキストを選択して下さい。"));
        QVERIFY(messages[1].text.contains(QStringLiteral("「€」")));
        QVERIFY(!w->document().page(1).hasTitle());
        QCOMPARE(w->document().page(1).keywords.value(0), QString());
    }

    void droppedTitleGoesToTheCurrentPage() {
        MakerMainWindow* w = f.start();
        QVERIFY(w);
        newPage(w, QString());
        newPage(w, QString());
        MakerFixture::trigger(w, "qzd32mk_Return_Page"); // page 2 of 3
        drop(w->contentsWindow()->list(), QStringLiteral("落とした\r\n\r\n"), 2);
        QCOMPARE(lines(w->contentsWindow()->list()),
                 (QStringList{"p 1  ", "p 2  落とした", "p 3  "}));
        QCOMPARE(w->contentsWindow()->selectedLine(), 1);
    }

    void duplicateKeywordCaseRules() {
        MakerMainWindow* w = f.start();
        QVERIFY(w);
        addKeywords(w, {QStringLiteral("Print")});
        // The selection is compared with regard to case: "print" is new.
        selectText(w, QStringLiteral("print"));
        MakerFixture::trigger(w, "qzd32mk_key_set");
        QCOMPARE(f.dialogs().messages().size(), 0);
        // The same text dropped is compared without regard to case: two keywords match.
        f.dialogs().answerNext(Answer::Yes);
        f.dialogs().answerNext(Answer::No);
        drop(w->keywordWindow()->list(), QStringLiteral("PRINT"));
        const auto messages = f.dialogs().messages();
        QCOMPARE(messages.size(), 2);
        QCOMPARE(messages[0].text,
                 QStringLiteral(" 1ページに同じキーワード 【Print】 が有ります。追加しますか。"));
        QCOMPARE(messages[0].title, QStringLiteral("qzd32Maker ｷｰﾜｰﾄﾞ設定"));
        QCOMPARE(w->document().page(1).keywords, (QStringList{"Print", "print"}));
        // The exact selection asks in the selection's own words.
        f.dialogs().answerNext(Answer::Yes);
        MakerFixture::trigger(w, "qzd32mk_key_set");
        QCOMPARE(f.dialogs().messages().last().text,
                 QStringLiteral(" 1ページに同じキーワードが有ります。追加しますか。"));
        QCOMPARE(w->document().page(1).keywords, (QStringList{"Print", "print", "print"}));
    }

    void sixtyFifthKeywordIsRefused() {
        MakerMainWindow* w = f.start();
        QVERIFY(w);
        QStringList many;
        for (int i = 1; i <= 64; ++i)
            many << QStringLiteral("k%1").arg(i);
        w->document().setKeywords(1, many);
        selectText(w, QStringLiteral("more"));
        f.dialogs().answerNext(Answer::Ok);
        f.dialogs().answerNext(Answer::Ok);
        f.dialogs().answerNext(Answer::Ok);
        MakerFixture::trigger(w, "qzd32mk_key_set");
        QTest::mouseClick(button(w->keywordWindow(), "Command1"), Qt::LeftButton);
        QTest::mouseClick(button(w->keywordWindow(), "Command4"), Qt::LeftButton);
        const auto m = f.dialogs().messages();
        QCOMPARE(m.size(), 3);
        QCOMPARE(m[0].title, QStringLiteral("qzd32Maker ｷｰﾜｰﾄﾞ追加"));
        QCOMPARE(m[1].title, QStringLiteral("qzd32Maker 新規ｷｰﾜｰﾄﾞ追加"));
        QCOMPARE(m[2].title, QStringLiteral("qzd32Maker ｷｰﾜｰﾄﾞ挿入"));
        for (const auto& call : m)
            QCOMPARE(call.text, QStringLiteral("１ページの最大キーワード数は、 64個です。"));
        QCOMPARE(w->document().page(1).keywords.size(), 64);
        QVERIFY(!MakerFixture::entryDialog(w));
    }

    void insertBeforeAPlaceholderLeavesTwoSlots() {
        MakerMainWindow* w = f.start();
        QVERIFY(w);
        QTest::mouseClick(button(w->keywordWindow(), "Command4"), Qt::LeftButton);
        EntryDialog* dialog = MakerFixture::entryDialog(w);
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("ｷｰﾜｰﾄﾞ挿入"));
        dialog->textBox()->setText(QStringLiteral("前"));
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("Command1")),
                          Qt::LeftButton);
        QCOMPARE(w->document().page(1).keywords, (QStringList{"前", ""}));
        QCOMPARE(lines(w->keywordWindow()->list()), (QStringList{"p 1  前", "p 1  "}));
        QCOMPARE(w->keywordWindow()->selectedLine(), 0);
    }

    void deleteSelectsTheRightLine_data() {
        QTest::addColumn<int>("line");
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<int>("selected");
        QTest::newRow("last") << 2 << QStringList{"a", "b"} << 1;
        QTest::newRow("first") << 0 << QStringList{"b", "c"} << 0;
        QTest::newRow("middle") << 1 << QStringList{"a", "c"} << 1;
    }
    void deleteSelectsTheRightLine() {
        QFETCH(int, line);
        QFETCH(QStringList, left);
        QFETCH(int, selected);
        MakerMainWindow* w = f.start();
        QVERIFY(w);
        addKeywords(w, {"a", "b", "c"});
        w->keywordWindow()->selectLine(line);
        f.dialogs().answerNext(Answer::Ok);
        QTest::mouseClick(button(w->keywordWindow(), "Command2"), Qt::LeftButton);
        const QString deleted = QStringList{"a", "b", "c"}.at(line);
        QCOMPARE(f.dialogs().messages().last().text, "p 1  【 " + deleted + " 】 を削除します。");
        QCOMPARE(w->document().page(1).keywords, left);
        QCOMPARE(w->keywordWindow()->selectedLine(), selected);
    }

    void deletingTheOnlyKeywordLeavesThePlaceholder() {
        MakerMainWindow* w = f.start();
        QVERIFY(w);
        addKeywords(w, {"a"});
        f.dialogs().answerNext(Answer::Ok);
        f.dialogs().answerNext(Answer::Ok);
        QTest::keyClick(w->keywordWindow()->list(), Qt::Key_Delete);
        QCOMPARE(lines(w->keywordWindow()->list()), QStringList{"p 1  "});
        QTest::keyClick(w->keywordWindow()->list(), Qt::Key_Backspace);
        QCOMPARE(f.dialogs().messages().last().text,
                 QStringLiteral("削除するキーワードがありません。"));
        QCOMPARE(w->document().page(1).keywords, QStringList{QString()});
    }

    void cancelAndEscapeOfANewPage() {
        MakerMainWindow* w = f.start();
        QVERIFY(w);
        // Cancel takes the added page back and the document is unchanged again.
        MakerFixture::trigger(w, "qzd32mk_new_Page");
        QVERIFY(w->document().isModified());
        QTest::mouseClick(MakerFixture::entryDialog(w)->findChild<QPushButton*>("Command2"),
                          Qt::LeftButton);
        QVERIFY(!MakerFixture::entryDialog(w));
        QCOMPARE(w->document().pageCount(), 1);
        QVERIFY(!w->document().isModified());
        // Esc keeps the added page, untitled.
        MakerFixture::click(w, "qzd32mk_newP");
        MakerFixture::escapeEntryDialog(w);
        QCOMPARE(w->document().pageCount(), 2);
        QVERIFY(!w->document().page(2).hasTitle());
        QVERIFY(w->document().isModified());
    }

    void cancelOnAOnePageDocumentKeepsThePage() {
        MakerMainWindow* w = f.start();
        QVERIFY(w);
        w->document().keepForEntryCancel(EntryMode::NewPage);
        w->entrySession()->open();
        QCOMPARE(MakerFixture::entryDialog(w)->windowTitle(), QStringLiteral("目次新規追加"));
        MakerFixture::entryDialog(w)->close(); // the close box counts as a cancel
        QCOMPARE(w->document().pageCount(), 1);
    }

    void keywordDialogDisablesContentsAndPageCommands() {
        MakerMainWindow* w = f.start();
        QVERIFY(w);
        QTest::mouseClick(button(w->keywordWindow(), "Command1"), Qt::LeftButton);
        QVERIFY(MakerFixture::entryDialog(w));
        QVERIFY(!w->contentsWindow()->list()->isEnabled());
        QVERIFY(!button(w->contentsWindow(), "Command1")->isEnabled());
        QVERIFY(!button(w->keywordWindow(), "Command2")->isEnabled());
        QVERIFY(w->keywordWindow()->list()->isEnabled());
        for (const char* name : {"qzd32mk_new_Page", "qzd32mk_insert_Page", "qzd32mk_Next_Page",
                                 "qzd32mk_index_set", "qzd32mk_preview_key"})
            QVERIFY2(!w->findChild<QAction*>(name)->isEnabled(), name);
        QVERIFY(!MakerFixture::button(w, "qzd32mk_newP")->isEnabled());
        MakerFixture::escapeEntryDialog(w);
        QVERIFY(w->contentsWindow()->list()->isEnabled());
        QVERIFY(MakerFixture::button(w, "qzd32mk_newP")->isEnabled());
        QCOMPARE(w->document().page(1).keywords, QStringList{QString()});
    }

    void popupMenusCarryTheirItems() {
        MakerMainWindow* w = f.start();
        QVERIFY(w);
        QStringList items;
        for (QAction* a : w->contentsWindow()->popupMenu()->actions())
            items << a->objectName() + ' ' + a->text();
        QCOMPARE(items,
                 (QStringList{"qzd_index_edit_new 新規(&A)", "qzd_index_edit_change 変更（&C)",
                              "qzd_index_edit_delete 削除(&D)", "qzd_index_edit_insert 挿入(&I)",
                              "qzd_index_edit_undo 元に戻す(&U)"}));
        QCOMPARE(w->keywordWindow()->popupMenu()->objectName(), QStringLiteral("qzd_key_edit"));
        QCOMPARE(w->keywordWindow()->popupMenu()->actions().size(), 4);
    }

    void layoutFollowsTheWidth_data() {
        QTest::addColumn<int>("widthTwips");
        QTest::addColumn<QPoint>("deleteAt");
        QTest::addColumn<QPoint>("insertAt");
        QTest::newRow("one row") << 3000 << QPoint(1305, 80) << QPoint(1935, 80);
        QTest::newRow("two rows") << 2000 << QPoint(1305, 80) << QPoint(45, 405);
        QTest::newRow("narrow") << 1500 << QPoint(45, 405) << QPoint(665, 405);
    }
    void layoutFollowsTheWidth() {
        QFETCH(int, widthTwips);
        QFETCH(QPoint, deleteAt);
        QFETCH(QPoint, insertAt);
        MakerMainWindow* w = f.start();
        QVERIFY(w);
        CompanionWindow* c = w->contentsWindow();
        c->resize(twipsToPixels(widthTwips), twipsToPixels(2000, Qt::Vertical));
        const auto pixels = [](QPoint twips) {
            return QPoint(twipsToPixels(twips.x()), twipsToPixels(twips.y(), Qt::Vertical));
        };
        QCOMPARE(button(c, "Command2")->pos(), pixels(deleteAt));
        QCOMPARE(button(c, "Command4")->pos(), pixels(insertAt));
        QCOMPARE(pixelsToTwips(c->height(), Qt::Vertical) % 180, 0);
    }

    // The keyword list of a large document scrolls sideways as far as its widest keyword,
    // which is neither the first nor the last line, as a list measuring every line would.
    void keywordListScrollsToItsWidestKeyword() {
        HelpDocument doc;
        for (int p = 1; p <= 40; ++p) {
            HelpPage& page = doc.pages.emplace_back();
            for (int k = 1; k <= 20; ++k)
                page.keywords << QStringLiteral("キーワード%1の%2").arg(k).arg(p);
        }
        doc.pages[16].keywords[7] = QStringLiteral("とても長いキーワードの行 with Latin text");
        const QString path = f.file(QStringLiteral("wide.qzd"));
        QVERIFY(saveHelpFile(path, doc).ok());
        MakerMainWindow* w = f.start(path);
        QVERIFY(w);
        QListWidget* list = w->keywordWindow()->list();
        QCOMPARE(list->count(), 800);
        QListWidget plain;
        plain.addItems(lines(list));
        plain.resize(list->size());
        plain.show();
        list->window()->show();
        QVERIFY(QTest::qWaitForWindowExposed(&plain));
        QVERIFY(QTest::qWaitForWindowExposed(list->window()));
        list->doItemsLayout();
        plain.doItemsLayout();
        QVERIFY(plain.horizontalScrollBar()->maximum() > 0);
        QCOMPARE(list->horizontalScrollBar()->maximum(), plain.horizontalScrollBar()->maximum());
    }

    // Three pages given titles and keywords through the windows are found by the viewer.
    void titlesAndKeywordsReachTheViewer() {
        MakerMainWindow* w = f.start();
        QVERIFY(w);
        selectText(w, QStringLiteral("はじめに"));
        MakerFixture::trigger(w, "qzd32mk_index_set");
        addKeywords(w, {QStringLiteral("開始")});
        newPage(w, QStringLiteral("印刷"));
        addKeywords(w, {QStringLiteral("プリンタ"), QStringLiteral("用紙")});
        newPage(w, QStringLiteral("検索"));
        selectText(w, QStringLiteral("文字列\n"));
        MakerFixture::trigger(w, "qzd32mk_key_set");
        const QString path = f.file(QStringLiteral("three.qzd"));
        f.dialogs().chooseFileNext(path);
        MakerFixture::trigger(w, "qzd32mk_file_save_rename");

        viewer::ViewerWindow viewer(f.dialogs());
        viewer.startUp(path);
        const QStringList contents = lines(viewer.findChild<QListWidget*>("List1"));
        QCOMPARE(contents.size(), 3);
        QVERIFY(contents[0].contains(QStringLiteral("はじめに")));
        QVERIFY(contents[1].contains(QStringLiteral("印刷")));
        QVERIFY(contents[2].contains(QStringLiteral("検索")));
        const QString keywords = lines(viewer.findChild<QListWidget*>("List2")).join('|');
        for (const char* word : {"開始", "プリンタ", "用紙", "文字列"})
            QVERIFY2(keywords.contains(QString::fromUtf8(word)), qPrintable(keywords));
        QCOMPARE(lines(viewer.findChild<QListWidget*>("List2")).size(), 4);
    }
};

QTEST_MAIN(TestEntries)
#include "tst_entries.moc"
