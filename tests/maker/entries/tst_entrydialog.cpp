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
};

QTEST_MAIN(TestEntryDialog)
#include "tst_entrydialog.moc"
