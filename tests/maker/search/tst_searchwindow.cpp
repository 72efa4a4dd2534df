#include "core/helpfile.h"
#include "maker/common/windowgeometry.h"
#include "maker/entries/companionwindows.h"
#include "maker/search/searchwindow.h"
#include "support/makerfixture.h"
#include "viewer/searchbox.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

using namespace quillo;
using namespace quillo::maker;
using Answer = Dialogs::Answer;

namespace {

// A help file whose page n holds texts[n-1], with the contents title "章 n" and the
// keyword "鍵 n".
void writePages(const QString& path, const QStringList& texts) {
    auto doc = std::make_unique<HelpDocument>();
    doc->pages.resize(texts.size());
    for (int p = 1; p <= texts.size(); ++p) {
        RichTextControl control;
        control.setPlainText(texts.at(p - 1));
        doc->page(p).rtf = control.rtf();
        doc->page(p).title = QStringLiteral("章 %1").arg(p);
        doc->page(p).keywords = {QStringLiteral("鍵 %1").arg(p)};
    }
    QVERIFY(saveHelpFile(path, *doc).ok());
}

QLineEdit* box(QWidget* s, const char* name) {
    return s->findChild<QLineEdit*>(QString::fromLatin1(name));
}

void press(QWidget* s, const char* name) {
    auto* button = s->findChild<QPushButton*>(QString::fromLatin1(name));
    QVERIFY2(button && button->isVisible() && button->isEnabled(), name);
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace

class TestSearchWindow : public QObject {
    Q_OBJECT
    MakerFixture f;

    MakerMainWindow* openPages(const QStringList& texts) {
        writePages(f.file(QStringLiteral("pages.qzd")), texts);
        return f.start(f.file(QStringLiteral("pages.qzd")));
    }
    static void goTo(MakerMainWindow* w, int page) {
        while (w->document().currentPage() < page)
            MakerFixture::trigger(w, "qzd32mk_Next_Page");
    }
    static QWidget* openSearch(MakerMainWindow* w, bool replace = false) {
        MakerFixture::trigger(w, replace ? "qzd32mk_chikan_shori" : "qzd32mk_search_shori");
        return w->findChild<QWidget*>(QStringLiteral("qzd32mk_srch"));
    }
    // The next message box is answered OK; checks it after `action` ran.
    template <typename Action>
    void expectMessage(Action action, const QString& title, const QString& text) {
        const qsizetype before = f.dialogs().messages().size();
        f.dialogs().answerNext(Answer::Ok);
        action();
        QCOMPARE(f.dialogs().messages().size(), before + 1);
        QCOMPARE(f.dialogs().messages().last().title, title);
        QCOMPARE(f.dialogs().messages().last().text, text);
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { f.setUp(); }
    void cleanup() { f.tearDown(); }

    void controlsBySearchAndReplaceMode() {
        MakerMainWindow* w = openPages({"text"});
        QVERIFY(w);
        QWidget* s = openSearch(w);
        QVERIFY(s && s->isVisible());
        QCOMPARE(s->windowTitle(), QStringLiteral("検索・置換"));
        QVERIFY(!box(s, "Text2")->isVisible());
        QVERIFY(!s->findChild<QPushButton*>("Command4")->isVisible());
        QVERIFY(s->findChild<QPushButton*>("Command3")->isVisible());
        // An empty search box leaves nothing to press.
        QVERIFY(!s->findChild<QPushButton*>("Command1")->isEnabled());
        box(s, "Text1")->setText("x");
        QVERIFY(s->findChild<QPushButton*>("Command1")->isEnabled());
        // 置換 after 検索(F) shows the replacement controls and replaces nothing.
        press(s, "Command3");
        QVERIFY(box(s, "Text2")->isVisible());
        QVERIFY(s->findChild<QPushButton*>("Command4")->isVisible());
        QCOMPARE(w->editor()->plainText(), QStringLiteral("text"));
        QVERIFY(!w->document().isModified());
        // Esc closes the window; 置換(E) opens it with the replacement box.
        QTest::keyClick(box(s, "Text1"), Qt::Key_Escape);
        QVERIFY(!s->isVisible());
        QVERIFY(openSearch(w, true)->isVisible());
        QVERIFY(box(s, "Text2")->isVisible());
        // Placed by the offsets of the settings (1500 down, 2500 right of the main window).
        const TwipsRect main = twipsGeometry(w);
        const TwipsRect placed = twipsGeometry(s);
        QVERIFY(qAbs(placed.top - main.top - 1500) <= 30);
        QVERIFY(qAbs(placed.left - main.left - 2500) <= 30);
    }

    void downFromPage2WithTheOnlyMatchOnPage1() {
        MakerMainWindow* w = openPages({"the target", "page two here", "three", "four"});
        QVERIFY(w);
        goTo(w, 2);
        w->editor()->select(5, 3);
        QWidget* s = openSearch(w);
        QCOMPARE(box(s, "Text1")->text(), QStringLiteral("two"));
        box(s, "Text1")->setText("target");
        expectMessage([&] { press(s, "Command1"); }, "qzd32Maker 検索",
                      QStringLiteral("該当テキストは有りません。"));
        QCOMPARE(w->document().currentPage(), 2);
        QCOMPARE(w->editor()->selStart(), 5);
        QCOMPARE(w->editor()->selText(), QStringLiteral("two"));
    }

    void upOnPage1FindsNothingBeforeTheCaret() {
        MakerMainWindow* w = openPages({"ab word", "word"});
        QVERIFY(w);
        w->editor()->setSelStart(2);
        QWidget* s = openSearch(w);
        s->findChild<QRadioButton*>("Option2")->click();
        box(s, "Text1")->setText("word");
        expectMessage([&] { press(s, "Command1"); }, "qzd32Maker 検索",
                      QStringLiteral("該当テキストは有りません。"));
        QCOMPARE(w->document().currentPage(), 1);
        QCOMPARE(w->editor()->selStart(), 2);
    }

    // A match on another page becomes the current page: the title and both lists follow.
    void caseOffFindsCapitalsAndTheListsFollow() {
        MakerMainWindow* w = openPages({"nothing", "The WORD", "a word"});
        QVERIFY(w);
        QWidget* s = openSearch(w);
        box(s, "Text1")->setText("word");
        press(s, "Command1");
        QCOMPARE(w->document().currentPage(), 2);
        QCOMPARE(w->editor()->selText(), QStringLiteral("WORD"));
        QVERIFY(w->windowTitle().endsWith(QStringLiteral(" Page 2 / 3")));
        QCOMPARE(w->contentsWindow()->list()->currentRow(), 1);
        QCOMPARE(w->keywordWindow()->list()->currentItem()->text(), QStringLiteral("p 2  鍵 2"));
        // Shift+F3 searches up: nothing before the match, and the match is shown again.
        auto* findNext = s->findChild<QPushButton*>("Command1");
        expectMessage([&] { QTest::keyClick(findNext, Qt::Key_F3, Qt::ShiftModifier); },
                      "qzd32Maker 検索", QStringLiteral("該当テキストは有りません。"));
        QVERIFY(s->findChild<QRadioButton*>("Option2")->isChecked());
        QCOMPARE(w->document().currentPage(), 2);
        QCOMPARE(w->editor()->selText(), QStringLiteral("WORD"));
        // F3 searches down again: the lower-case spelling on page 3.
        QTest::keyClick(findNext, Qt::Key_F3);
        QVERIFY(s->findChild<QRadioButton*>("Option1")->isChecked());
        QCOMPARE(w->document().currentPage(), 3);
        QCOMPARE(w->editor()->selStart(), 2);
    }

    void caseOnSkipsCapitals() {
        MakerMainWindow* w = openPages({"nothing", "The WORD", "a word"});
        QVERIFY(w);
        QWidget* s = openSearch(w);
        s->findChild<QCheckBox*>("Check1")->setChecked(true);
        box(s, "Text1")->setText("word");
        QTest::keyClick(box(s, "Text1"), Qt::Key_Return);
        QCOMPARE(w->document().currentPage(), 3);
        QCOMPARE(w->editor()->selText(), QStringLiteral("word"));
        // Every opening starts without case distinction.
        s->close();
        openSearch(w);
        QVERIFY(!s->findChild<QCheckBox*>("Check1")->isChecked());
    }

    void againAfterTheMatchOnTheLastPage() {
        MakerMainWindow* w = openPages({"a", "b key"});
        QVERIFY(w);
        QWidget* s = openSearch(w);
        box(s, "Text1")->setText("key");
        press(s, "Command1");
        QCOMPARE(w->document().currentPage(), 2);
        expectMessage([&] { press(s, "Command1"); }, "qzd32Maker 検索",
                      QStringLiteral("検索を終了しました。"));
        QCOMPARE(w->editor()->selText(), QStringLiteral("key"));
        // The next run is fresh again.
        expectMessage([&] { press(s, "Command1"); }, "qzd32Maker 検索",
                      QStringLiteral("該当テキストは有りません。"));
    }

    // After a search, the first 置換 only switches the mode; then each press replaces the
    // match and finds the next.
    void replaceOneAtATime() {
        MakerMainWindow* w = openPages({"cat and cat", "Cat"});
        QVERIFY(w);
        QWidget* s = openSearch(w);
        box(s, "Text1")->setText("cat");
        press(s, "Command1");
        press(s, "Command3");
        box(s, "Text2")->setText("dog");
        QCOMPARE(w->editor()->plainText(), QStringLiteral("cat and cat"));
        press(s, "Command3");
        QCOMPARE(w->editor()->plainText(), QStringLiteral("dog and cat"));
        QCOMPARE(w->editor()->selStart(), 8);
        QVERIFY(w->document().isModified());
        press(s, "Command3");
        QCOMPARE(w->document().currentPage(), 2);
        expectMessage([&] { press(s, "Command3"); }, "qzd32Maker 置換",
                      QStringLiteral("置換を終了しました。"));
        QCOMPARE(w->editor()->plainText(), QStringLiteral("dog"));
        MakerFixture::trigger(w, "qzd32mk_Return_Page");
        QCOMPARE(w->editor()->plainText(), QStringLiteral("dog and dog"));
    }

    void replaceAllCountsEachOriginalMatchOnce() {
        MakerMainWindow* w = openPages({"cat cat", "dog", "a CAT"});
        QVERIFY(w);
        goTo(w, 2);
        w->editor()->setSelStart(1);
        QWidget* s = openSearch(w, true);
        box(s, "Text1")->setText("cat");
        box(s, "Text2")->setText("cat cat");
        expectMessage([&] { press(s, "Command4"); }, "qzd32Maker すべて置換",
                      QStringLiteral(" 3個の文字列を置換しました。"));
        QCOMPARE(w->document().currentPage(), 2);
        QCOMPARE(w->editor()->selStart(), 1);
        QVERIFY(w->document().isModified());
        MakerFixture::trigger(w, "qzd32mk_Return_Page");
        QCOMPARE(w->editor()->plainText(), QStringLiteral("cat cat cat cat"));
        MakerFixture::trigger(w, "qzd32mk_Next_Page");
        MakerFixture::trigger(w, "qzd32mk_Next_Page");
        QCOMPARE(w->editor()->plainText(), QStringLiteral("a cat cat"));

        box(s, "Text1")->setText("bird");
        expectMessage([&] { press(s, "Command4"); }, "qzd32Maker すべて置換",
                      QStringLiteral("該当テキストはありません。"));
    }

    // The shown page's replacements are one edit: one undo takes them all back.
    void replaceAllOnTheShownPageUndoesAtOnce() {
        MakerMainWindow* w = openPages({"x x x"});
        QVERIFY(w);
        QWidget* s = openSearch(w, true);
        box(s, "Text1")->setText("x");
        box(s, "Text2")->setText("y");
        expectMessage([&] { press(s, "Command4"); }, "qzd32Maker すべて置換",
                      QStringLiteral(" 3個の文字列を置換しました。"));
        QCOMPARE(w->editor()->plainText(), QStringLiteral("y y y"));
        MakerFixture::trigger(w, "qzd32mk_undo");
        QCOMPARE(w->editor()->plainText(), QStringLiteral("x x x"));
    }

    void longSelectionAndTypingLimits() {
        MakerMainWindow* w = openPages({QString(40, 'a')});
        QVERIFY(w);
        w->editor()->select(0, 33);
        f.dialogs().answerNext(Answer::Ok);
        QWidget* s = openSearch(w, true);
        QCOMPARE(f.dialogs().messages().last().title, QStringLiteral("qzd32Maker 検索"));
        QCOMPARE(f.dialogs().messages().last().text,
                 QStringLiteral("検索文字列は、最大 32文字です。\n"
                                "選択テキストの先頭 32文字を検索文字列とします。"));
        QCOMPARE(box(s, "Text1")->text(), QString(32, 'a'));

        box(s, "Text1")->setCursorPosition(32);
        expectMessage([&] { QTest::keyClick(box(s, "Text1"), Qt::Key_B); }, "qzd32Maker 検索",
                      QStringLiteral("検索文字列は最大 32文字です。先頭 32文字を検索文字列と"
                                     "します。"));
        QCOMPARE(box(s, "Text1")->text(), QString(32, 'a'));
        expectMessage([&] { box(s, "Text2")->setText(QString(33, 'r')); }, "qzd32Maker 置換",
                      QStringLiteral("置換文字列は最大 32文字です。先頭 32文字を置換文字列と"
                                     "します。"));
        QCOMPARE(box(s, "Text2")->text(), QString(32, 'r'));
    }

    void dropIntoTheReplacementBoxAsks() {
        MakerMainWindow* w = openPages({"x"});
        QVERIFY(w);
        QWidget* s = openSearch(w, true);
        auto* text2 = static_cast<viewer::SearchBox*>(box(s, "Text2"));
        text2->setText(QString(30, 'r'));
        text2->setCursorPosition(30);
        f.dialogs().answerNext(Answer::Yes);
        text2->dropText(QStringLiteral("0123456789"));
        QCOMPARE(f.dialogs().messages().last().title,
                 QStringLiteral("qzd32Maker 置換（最大 32文字）"));
        QCOMPARE(text2->text(), QString(30, 'r') + "01");
    }

    void keysMoveBetweenTheBoxes() {
        MakerMainWindow* w = openPages({"x"});
        QVERIFY(w);
        QWidget* s = openSearch(w, true);
        s->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(s));
        box(s, "Text1")->setFocus();
        QTest::keyClick(box(s, "Text1"), Qt::Key_Return); // empty: to the replacement box
        QTRY_VERIFY(box(s, "Text2")->hasFocus());
        QTest::keyClick(box(s, "Text2"), Qt::Key_Up);
        QTRY_VERIFY(box(s, "Text1")->hasFocus());
        QTest::keyClick(box(s, "Text1"), Qt::Key_Down);
        QTRY_VERIFY(box(s, "Text2")->hasFocus());
        box(s, "Text1")->setText("q");
        QTest::keyClick(box(s, "Text2"), Qt::Key_Return);
        QTRY_VERIFY(s->findChild<QPushButton*>("Command3")->hasFocus());
    }

    void longPageWarnsOncePerRun() {
        MakerMainWindow* w = openPages({QString(16001, 'z')});
        QVERIFY(w);
        QWidget* s = openSearch(w);
        box(s, "Text1")->setText("y");
        f.dialogs().answerNext(Answer::Ok);
        f.dialogs().answerNext(Answer::Ok);
        press(s, "Command1");
        auto messages = f.dialogs().messages();
        QCOMPARE(messages.size(), 2);
        QCOMPARE(messages.at(0).title, QStringLiteral("qzd32Maker 検索／置換"));
        QCOMPARE(messages.at(0).text,
                 QStringLiteral("１ページのテキストが長すぎます。検索できない場合があります。\n"
                                "１ページのテキスト長を短くすることを推奨します。"));
        QCOMPARE(messages.at(1).text, QStringLiteral("該当テキストは有りません。"));
        // Not again in the same program run, even after the window was closed.
        s->close();
        openSearch(w);
        expectMessage([&] { press(s, "Command1"); }, "qzd32Maker 検索",
                      QStringLiteral("該当テキストは有りません。"));
    }

    // The page texts the window makes ahead in idle time follow a page stored afterwards.
    void textsMadeAheadFollowAChangedPage() {
        MakerMainWindow* w = openPages({"one", "old text", "three"});
        QVERIFY(w);
        QWidget* s = openSearch(w);
        QTest::qWait(50);
        RichTextControl control;
        control.setPlainText("new text");
        w->document().setPageRtf(2, control.rtf());
        box(s, "Text1")->setText("old");
        expectMessage([&] { press(s, "Command1"); }, "qzd32Maker 検索",
                      QStringLiteral("該当テキストは有りません。"));
        QCOMPARE(w->document().currentPage(), 1);
        box(s, "Text1")->setText("new");
        press(s, "Command1");
        QCOMPARE(w->document().currentPage(), 2);
        QCOMPARE(w->editor()->selText(), QStringLiteral("new"));
    }

    // Replace-all over 100 pages, saved and read back, keeps bold, colour and bullets where
    // they were.
    void replaceAllOverAHundredPagesKeepsFormatting() {
        RichTextControl control;
        control.setPlainText("bold word\nred word\nitem word");
        SelectionFormat bold;
        bold.bold = true;
        control.select(0, 4);
        control.setSelectionFormat(bold);
        SelectionFormat red;
        red.color = 0x0000FF;
        control.select(10, 3);
        control.setSelectionFormat(red);
        SelectionFormat bullet;
        bullet.bullet = true;
        control.select(19, 9);
        control.setSelectionFormat(bullet);
        auto doc = std::make_unique<HelpDocument>();
        doc->pages.resize(100);
        for (int p = 1; p <= 100; ++p)
            doc->page(p).rtf = control.rtf();
        const QString path = f.file(QStringLiteral("hundred.qzd"));
        QVERIFY(saveHelpFile(path, *doc).ok());

        MakerMainWindow* w = f.start(path);
        QVERIFY(w);
        QWidget* s = openSearch(w, true);
        box(s, "Text1")->setText("WORD");
        box(s, "Text2")->setText("term");
        expectMessage([&] { press(s, "Command4"); }, "qzd32Maker すべて置換",
                      QStringLiteral(" 300個の文字列を置換しました。"));
        MakerFixture::trigger(w, "qzd32mk_file_save");

        auto back = std::make_unique<HelpDocument>();
        QVERIFY(readHelpFile(path, *back, Reader::Maker).ok());
        QCOMPARE(back->pageCount(), 100);
        for (int p = 1; p <= 100; ++p) {
            RichTextControl page;
            page.setRtf(back->page(p).rtf);
            QCOMPARE(page.plainText(), QStringLiteral("bold term\nred term\nitem term"));
            const auto at = [&page](int position) {
                page.select(position, 1);
                return page.selectionFormat();
            };
            QCOMPARE(at(1).bold, true);
            QCOMPARE(at(6).bold, false);
            QCOMPARE(at(11).color, 0x0000FFu);
            QCOMPARE(at(20).bullet, true);
            QCOMPARE(at(25).bullet, true);
            QCOMPARE(at(1).bullet, false);
            QCOMPARE(at(15).bullet, false);
        }
    }
};

QTEST_MAIN(TestSearchWindow)
#include "tst_searchwindow.moc"
