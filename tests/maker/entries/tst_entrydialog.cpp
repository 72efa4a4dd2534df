#include "maker/entries/companionwindows.h"
#include "support/makerfixture.h"

#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>

using namespace quillo;
using namespace quillo::maker;
using Answer = Dialogs::Answer;

namespace {

QPushButton* button(QWidget* window, const char* name) {
    return window->findChild<QPushButton*>(QString::fromLatin1(name));
}

void dropInto(QLineEdit* box, const QString& text) {
    QMimeData mime;
    mime.setText(text);
    const QPoint at = box->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(box, &enter);
    QDropEvent event(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(box, &event);
    // The dropped text is taken once the drag has ended.
    QCoreApplication::processEvents();
}

QString label(EntryDialog* dialog) {
    return dialog->findChild<QLabel*>(QStringLiteral("Text2"))->text();
}

void clickLine(QListWidget* list, int line) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(line)).center());
}

} // namespace

class TestEntryDialog : public QObject {
    Q_OBJECT
    MakerFixture f;

    // A window whose keyword window's change command has opened the dialog on page 1's
    // only keyword "鍵".
    MakerMainWindow* changingKeyword() {
        MakerMainWindow* w = f.start();
        if (!w)
            return nullptr;
        w->document().setKeywords(1, {QStringLiteral("鍵")});
        QTest::mouseClick(button(w->keywordWindow(), "Command3"), Qt::LeftButton);
        return w;
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { f.setUp(); }
    void cleanup() { f.tearDown(); }

    void changeStartsFromTheLine() {
        MakerMainWindow* w = changingKeyword();
        QVERIFY(w);
        EntryDialog* dialog = MakerFixture::entryDialog(w);
        QVERIFY(dialog);
        QCOMPARE(dialog->objectName(), QStringLiteral("qzd32mk_tork"));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("ｷｰﾜｰﾄﾞ変更"));
        QCOMPARE(dialog->findChild<QLabel*>(QStringLiteral("Text2"))->text(),
                 QStringLiteral("p 1"));
        QCOMPARE(dialog->text(), QStringLiteral("鍵"));
        QCOMPARE(dialog->textBox()->selectedText(), QStringLiteral("鍵"));
        // "(" is typed, not a commit.
        QTest::keyClicks(dialog->textBox(), QStringLiteral("(a)"));
        QVERIFY(MakerFixture::entryDialog(w));
        QTest::keyClick(dialog->textBox(), Qt::Key_Return);
        QVERIFY(!MakerFixture::entryDialog(w));
        QCOMPARE(w->document().page(1).keywords, QStringList{QStringLiteral("(a)")});
        QVERIFY(w->document().isModified());
    }

    void thirtyThirdCharacterIsCut() {
        MakerMainWindow* w = changingKeyword();
        QVERIFY(w);
        EntryDialog* dialog = MakerFixture::entryDialog(w);
        dialog->textBox()->setText(QString(32, QLatin1Char('a')));
        dialog->textBox()->end(false);
        f.dialogs().answerNext(Answer::Ok);
        QTest::keyClick(dialog->textBox(), Qt::Key_B);
        QCOMPARE(dialog->text(), QString(32, QLatin1Char('a')));
        QCOMPARE(f.dialogs().messages().size(), 1);
        QCOMPARE(f.dialogs().messages()[0].title,
                 QStringLiteral("qzd32Maker 目次／キー設定（最大 32文字）"));
        QCOMPARE(f.dialogs().messages()[0].text,
                 QStringLiteral("設定文字列は最大 32文字です。先頭 32文字を設定文字列とします。"));
        MakerFixture::escapeEntryDialog(w);
    }

    void dropThatDoesNotFitAsks_data() {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QString>("result");
        const QString thirty(30, QLatin1Char('x'));
        QTest::newRow("yes") << Answer::Yes << thirty + "01";
        QTest::newRow("no") << Answer::No << thirty;
    }
    void dropThatDoesNotFitAsks() {
        QFETCH(Answer, answer);
        QFETCH(QString, result);
        MakerMainWindow* w = changingKeyword();
        QVERIFY(w);
        EntryDialog* dialog = MakerFixture::entryDialog(w);
        dialog->textBox()->setText(QString(30, QLatin1Char('x')));
        dialog->textBox()->deselect();
        f.dialogs().answerNext(answer);
        dropInto(dialog->textBox(), QStringLiteral("0123456789\r\n"));
        QCOMPARE(f.dialogs().messages().last().text,
                 QStringLiteral("選択テキストが長すぎます。先頭文字列 2文字を挿入します。"));
        QCOMPARE(dialog->text(), result);
        MakerFixture::escapeEntryDialog(w);
    }

    void dropReplacesTheSelection() {
        MakerMainWindow* w = changingKeyword();
        QVERIFY(w);
        EntryDialog* dialog = MakerFixture::entryDialog(w);
        dropInto(dialog->textBox(), QStringLiteral("錠\r\n"));
        QCOMPARE(dialog->text(), QStringLiteral("錠"));
        MakerFixture::escapeEntryDialog(w);
    }

    void emptyCommitInNewKeywordModeLeavesAnEmptyKeyword() {
        MakerMainWindow* w = f.start();
        QVERIFY(w);
        w->document().setKeywords(1, {QStringLiteral("a")});
        QTest::mouseClick(button(w->keywordWindow(), "Command1"), Qt::LeftButton);
        QCOMPARE(MakerFixture::entryDialog(w)->windowTitle(), QStringLiteral("ｷｰﾜｰﾄﾞ新規追加"));
        QCOMPARE(w->document().page(1).keywords, (QStringList{"a", ""}));
        QTest::mouseClick(button(MakerFixture::entryDialog(w), "Command1"), Qt::LeftButton);
        QCOMPARE(w->document().page(1).keywords, (QStringList{"a", ""}));
        QCOMPARE(w->keywordWindow()->selectedLine(), 1);
    }

    void cancelTakesBackTheNewKeyword_data() {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<int>("selected");
        QTest::newRow("new") << QByteArray("Command1") << 1;
        QTest::newRow("insert") << QByteArray("Command4") << 1;
    }
    void cancelTakesBackTheNewKeyword() {
        QFETCH(QByteArray, command);
        QFETCH(int, selected);
        MakerMainWindow* w = f.start();
        QVERIFY(w);
        w->document().setKeywords(1, {QStringLiteral("a"), QStringLiteral("b")});
        w->document().setModified(false);
        w->keywordWindow()->selectLine(1);
        QTest::mouseClick(button(w->keywordWindow(), command.constData()), Qt::LeftButton);
        QCOMPARE(w->document().page(1).keywords.size(), 3);
        QVERIFY(w->document().isModified());
        QTest::mouseClick(button(MakerFixture::entryDialog(w), "Command2"), Qt::LeftButton);
        QCOMPARE(w->document().page(1).keywords, (QStringList{"a", "b"}));
        QCOMPARE(w->keywordWindow()->selectedLine(), selected);
        QVERIFY(!w->document().isModified());
    }

    void dialogFollowsATitleChangeClick() {
        MakerMainWindow* w = f.start();
        QVERIFY(w);
        w->document().setTitle(1, QStringLiteral("一"));
        MakerFixture::trigger(w, "qzd32mk_new_Page");
        MakerFixture::entryDialog(w)->textBox()->setText(QStringLiteral("二"));
        QTest::keyClick(MakerFixture::entryDialog(w)->textBox(), Qt::Key_Return);
        QListWidget* list = w->contentsWindow()->list();
        QTest::keyClick(list, Qt::Key_Return); // change the title of page 2
        QCOMPARE(MakerFixture::entryDialog(w)->text(), QStringLiteral("二"));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(0)).center());
        QCOMPARE(w->document().currentPage(), 1);
        EntryDialog* dialog = MakerFixture::entryDialog(w);
        QVERIFY(dialog);
        QCOMPARE(dialog->text(), QStringLiteral("一"));
        dialog->textBox()->setText(QStringLiteral("壱"));
        QTest::keyClick(dialog->textBox(), Qt::Key_Return);
        QCOMPARE(w->document().page(1).title.value_or(QString()), QStringLiteral("壱"));
        QCOMPARE(w->document().page(2).title.value_or(QString()), QStringLiteral("二"));
    }

    void dialogSitsOverItsOwnerOnTheScreen() {
        MakerMainWindow* w = changingKeyword();
        QVERIFY(w);
        EntryDialog* dialog = MakerFixture::entryDialog(w);
        const QRect screen = dialog->screen()->geometry();
        QVERIFY(screen.contains(dialog->frameGeometry()));
        w->keywordWindow()->move(screen.right() - 10, screen.bottom() - 10);
        dialog->placeOver(w->keywordWindow());
        QVERIFY(screen.contains(dialog->frameGeometry()));
        MakerFixture::escapeEntryDialog(w);
    }

    // A click while a new or inserted entry waits moves it to the clicked place; the dialog
    // names the page it moved to, and the commit fills it there.
    void pendingEntryFollowsAClick_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("clicked");
        QTest::addColumn<int>("page");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QList<QStringList>>("keywords");
        const QList<QStringList> three{{"a"}, {"b"}, {"c"}};
        // Pages A, B, C, D, E with page 2 shown: the inserted page waits on line 1.
        QTest::newRow("inserted page, line below")
            << "insert page" << 4 << 5 << QStringList{"A", "B", "C", "D", "zz", "E"} << three;
        QTest::newRow("inserted page, first line")
            << "insert page" << 0 << 1 << QStringList{"zz", "A", "B", "C", "D", "E"} << three;
        // Keywords a, b, c on pages 1 to 3 with page 1 shown.
        QTest::newRow("new keyword, another page")
            << "new keyword" << 3 << 3 << QStringList{"A", "B", "C", "D", "E"}
            << QList<QStringList>{{"a"}, {"b"}, {"c", "zz"}};
        QTest::newRow("inserted keyword, another page")
            << "insert keyword" << 2 << 2 << QStringList{"A", "B", "C", "D", "E"}
            << QList<QStringList>{{"a"}, {"zz", "b"}, {"c"}};
    }
    void pendingEntryFollowsAClick() {
        QFETCH(QString, command);
        QFETCH(int, clicked);
        QFETCH(int, page);
        QFETCH(QStringList, titles);
        QFETCH(QList<QStringList>, keywords);
        MakerMainWindow* w = f.start();
        QVERIFY(w);
        MakerDocument& d = w->document();
        for (int p = 1; p <= 5; ++p) {
            if (p > 1)
                d.appendPage();
            d.setTitle(p, QString(QChar('A' + p - 1)));
            d.setKeywords(p, {QString(QChar('a' + p - 1))});
        }
        d.setKeywords(4, {});
        d.setKeywords(5, {});
        const bool contents = command == "insert page";
        d.goToPage(contents ? 2 : 1);
        CompanionWindow* window =
            contents ? static_cast<CompanionWindow*>(w->contentsWindow()) : w->keywordWindow();
        QTest::mouseClick(button(window, command == "new keyword" ? "Command1" : "Command4"),
                          Qt::LeftButton);
        QVERIFY(MakerFixture::entryDialog(w));
        clickLine(window->list(), clicked);
        EntryDialog* dialog = MakerFixture::entryDialog(w);
        QVERIFY(dialog);
        QCOMPARE(d.currentPage(), page);
        QCOMPARE(label(dialog), QStringLiteral("p%1").arg(page, 2));
        QCOMPARE(window->list()->currentRow(), window->selectedLine());
        dialog->textBox()->setText(QStringLiteral("zz"));
        QTest::keyClick(dialog->textBox(), Qt::Key_Return);
        QVERIFY(!MakerFixture::entryDialog(w));
        QStringList shownTitles;
        for (int p = 1; p <= d.pageCount(); ++p)
            shownTitles << d.page(p).title.value_or(QString());
        QCOMPARE(shownTitles, titles);
        for (int p = 1; p <= 3; ++p)
            QCOMPARE(d.page(contents && page == 1 ? p + 1 : p).keywords,
                     contents ? QStringList{QString(QChar('a' + p - 1))} : keywords[p - 1]);
    }

    void secondNewKeywordLeavesThePendingOne() {
        MakerMainWindow* w = f.start();
        QVERIFY(w);
        w->document().setKeywords(1, {QStringLiteral("a")});
        w->document().appendPage();
        w->document().goToPage(1);
        QTest::mouseClick(button(w->keywordWindow(), "Command1"), Qt::LeftButton);
        QTest::mouseClick(button(w->keywordWindow(), "Command1"), Qt::LeftButton);
        QCOMPARE(w->document().currentPage(), 1);
        QCOMPARE(w->document().page(1).keywords, (QStringList{"a", ""}));
        QCOMPARE(w->document().page(2).keywords, QStringList{QString()});
        QCOMPARE(w->keywordWindow()->selectedLine(), 1);
        QCOMPARE(label(MakerFixture::entryDialog(w)), QStringLiteral("p 1"));
        MakerFixture::escapeEntryDialog(w);
    }

    void refusedClickReturnsToTheAddedPage() {
        MakerMainWindow* w = f.start();
        QVERIFY(w);
        MakerFixture::trigger(w, "qzd32mk_new_Page");
        MakerFixture::escapeEntryDialog(w);
        MakerFixture::trigger(w, "qzd32mk_new_Page");
        QListWidget* list = w->contentsWindow()->list();
        clickLine(list, 0);
        QCOMPARE(w->document().currentPage(), 3);
        QCOMPARE(list->currentRow(), 2);
        QCOMPARE(list->selectedItems(), QList<QListWidgetItem*>{list->item(2)});
        QCOMPARE(label(MakerFixture::entryDialog(w)), QStringLiteral("p 3"));
        MakerFixture::escapeEntryDialog(w);
    }

    void pageHundredIsLabelledInFull() {
        MakerMainWindow* w = f.start();
        QVERIFY(w);
        for (int p = 2; p < MaxPages; ++p)
            w->document().appendPage();
        MakerFixture::trigger(w, "qzd32mk_new_Page");
        QCOMPARE(w->document().currentPage(), 100);
        QCOMPARE(label(MakerFixture::entryDialog(w)), QStringLiteral("p100"));
        MakerFixture::escapeEntryDialog(w);
    }
};

QTEST_MAIN(TestEntryDialog)
#include "tst_entrydialog.moc"
