// The contents window, the keyword window and the entry dialog as a writer meets them on a
// real X server with a window manager: drags and clicks of the real pointer, keys of the
// real keyboard, real message boxes answered by key or by mouse.
#include "maker/common/settingsfile.h"
#include "maker/entries/companionwindows.h"
#include "support/makerfixture.h"
#include "winsvc/dialogs.h"
#include "winsvc/twips.h"
#include "x11user.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTextCursor>

using namespace quillo;
using namespace quillo::maker;

namespace {

QPoint centreOf(const QListWidget* list, int line) {
    return list->viewport()->mapToGlobal(list->visualItemRect(list->item(line)).center());
}

QPoint centreOf(const QWidget* widget) {
    return widget->mapToGlobal(widget->rect().center());
}

QPushButton* button(QWidget* window, const char* name) {
    return window->findChild<QPushButton*>(QString::fromLatin1(name));
}

// The screen point of character `position` of the editor's text.
QPoint textPoint(RichTextControl* editor, int position) {
    QTextCursor cursor(editor->document());
    cursor.setPosition(position);
    return editor->viewport()->mapToGlobal(editor->cursorRect(cursor).center());
}

QString titleOf(MakerMainWindow* w, int page) {
    return w->document().page(page).title.value_or(QString());
}

} // namespace

class TestEntryWindows : public QObject {
    Q_OBJECT
    MakerFixture f;
    std::unique_ptr<QtDialogs> m_boxes;
    std::unique_ptr<x11user::BoxAnswerer> m_answerer;

    // The authoring window with its companions shown and framed, its prompts real boxes.
    MakerMainWindow* startShown() {
        MakerMainWindow* w = f.start({}, m_boxes.get());
        if (!w)
            return nullptr;
        for (QWidget* window :
             {static_cast<QWidget*>(w), static_cast<QWidget*>(w->contentsWindow()),
              static_cast<QWidget*>(w->keywordWindow())})
            if (!QTest::qWaitForWindowExposed(window, 30000))
                return nullptr;
        return w;
    }

    // Pages titled by `titles` (page 1 keeps its own), each carrying the text and the
    // keyword given for it; `current` is shown at the end.
    static void makePages(MakerMainWindow* w, const QStringList& titles, const QStringList& texts,
                          const QStringList& keywords, int current) {
        MakerDocument& d = w->document();
        for (int page = 1; page <= titles.size(); ++page) {
            if (page > 1)
                d.appendPage();
            d.setTitle(page, titles[page - 1]);
            d.setKeywords(page, {keywords.value(page - 1)});
            w->editor()->setPlainText(texts.value(page - 1));
        }
        d.goToPage(current);
        d.setModified(false);
    }

    // Waits until the keyboard has settled after a box, then names the widget a key reaches.
    static void keyboardTarget(QObject*& target) {
        QTRY_VERIFY_WITH_TIMEOUT(!QApplication::activeModalWidget(), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(QApplication::focusWidget(), 10000);
        QTest::qWait(500); // the window manager's own focus moves come after the box is gone
        x11user::KeyWitness witness(Qt::Key_Shift);
        QVERIFY(x11user::key(QStringLiteral("shift")));
        QTRY_VERIFY_WITH_TIMEOUT(witness.receiver(), 10000);
        target = witness.receiver();
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() {
        f.setUp();
        m_boxes = std::make_unique<QtDialogs>();
        m_answerer = std::make_unique<x11user::BoxAnswerer>();
    }
    void cleanup() {
        QCOMPARE(m_answerer->unexpected(), 0);
        QVERIFY(m_answerer->done());
        f.tearDown();
        m_answerer.reset();
        m_boxes.reset();
    }

    // Text dragged from the page onto a list acts once: the next click is an ordinary click.
    void dropThenClick_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("clicked");
        QTest::addColumn<int>("firstStep");
        for (const char* target : {"contents", "keywords"})
            for (const char* clicked : {"text", "contents", "keywords"})
                QTest::addRow("%s then %s", target, clicked) << target << clicked << 16;
        // A quick hand whose first move already leaves the page.
        QTest::newRow("quick, contents then text") << "contents"
                                                   << "text" << 120;
        QTest::newRow("quick, contents then contents") << "contents"
                                                       << "contents" << 120;
        QTest::newRow("quick, keywords then keywords") << "keywords"
                                                       << "keywords" << 120;
    }
    void dropThenClick() {
        QFETCH(QString, target);
        QFETCH(QString, clicked);
        QFETCH(int, firstStep);
        MakerMainWindow* w = startShown();
        QVERIFY(w);
        // Page 1 carries "Apple", so that the keyword drop asks about it; page 2 has a title,
        // so that the title drop asks about replacing it.
        makePages(w, {"One", "Two"}, {"one", "banana apple"}, {"Apple", ""}, 2);
        RichTextControl* editor = w->editor();
        editor->select(7, 5);
        QListWidget* list =
            target == "contents" ? w->contentsWindow()->list() : w->keywordWindow()->list();
        m_answerer->clickNext(QMessageBox::Yes); // replace / add all the same
        QVERIFY(x11user::drag(textPoint(editor, 9), centreOf(list, 0), firstStep));
        QTRY_COMPARE_WITH_TIMEOUT(m_answerer->texts().size(), 1, 10000);
        if (target == "contents")
            QTRY_COMPARE(titleOf(w, 2), QStringLiteral("apple"));
        else
            QTRY_COMPARE(w->document().page(2).keywords, QStringList{"apple"});

        if (clicked == "text") {
            QVERIFY(x11user::click(textPoint(editor, 3)));
            QTRY_COMPARE(editor->textCursor().position(), 3);
            QCOMPARE(w->document().currentPage(), 2);
        } else {
            QListWidget* other =
                clicked == "contents" ? w->contentsWindow()->list() : w->keywordWindow()->list();
            QVERIFY(x11user::click(centreOf(other, 0)));
            QTRY_COMPARE(w->document().currentPage(), 1);
        }
        QTest::qWait(300); // a second drop would be served by now
        QCOMPARE(m_answerer->texts().size(), 1);
        w->document().storeShownPage();
        QVERIFY(!w->editor()->plainText().contains(QStringLiteral("bananaapple")));
        QCOMPARE(titleOf(w, 1), QStringLiteral("One"));
        QCOMPARE(titleOf(w, 2), target == "contents" ? QStringLiteral("apple") : "Two");
        QCOMPARE(w->document().page(1).keywords, QStringList{"Apple"});
        QCOMPARE(w->document().page(2).keywords,
                 QStringList{target == "contents" ? QString() : QStringLiteral("apple")});
    }

    // Every user action on a list shows the page of the line it selects, so that a command
    // that follows works on the line the writer sees.
    void listActionsShowTheLine_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("command");
        QTest::newRow("contents End change") << "contents"
                                             << "End"
                                             << "change";
        QTest::newRow("contents Home delete") << "contents"
                                              << "Home"
                                              << "delete";
        QTest::newRow("contents Page Down change") << "contents"
                                                   << "Next"
                                                   << "change";
        QTest::newRow("contents drag delete") << "contents"
                                              << "drag"
                                              << "delete";
        QTest::newRow("keywords End delete") << "keywords"
                                             << "End"
                                             << "delete";
        QTest::newRow("keywords Home change") << "keywords"
                                              << "Home"
                                              << "change";
        QTest::newRow("keywords Page Down delete") << "keywords"
                                                   << "Next"
                                                   << "delete";
        QTest::newRow("keywords drag change") << "keywords"
                                              << "drag"
                                              << "change";
    }
    void listActionsShowTheLine() {
        QFETCH(QString, window);
        QFETCH(QString, action);
        QFETCH(QString, command);
        MakerMainWindow* w = startShown();
        QVERIFY(w);
        const QStringList names{"One",   "Two",   "Three", "Four", "Five",   "Six",
                                "Seven", "Eight", "Nine",  "Ten",  "Eleven", "Twelve"};
        QStringList keywords;
        for (const QString& name : names)
            keywords << name.toLower();
        makePages(w, names, names, keywords, 3);
        const bool contents = window == "contents";
        CompanionWindow* companion =
            contents ? static_cast<CompanionWindow*>(w->contentsWindow()) : w->keywordWindow();
        QListWidget* list = companion->list();
        QVERIFY(x11user::click(centreOf(list, 2))); // the line of page 3, already shown
        QTRY_VERIFY(list->hasFocus());
        if (action == "drag")
            QVERIFY(x11user::drag(centreOf(list, 1), centreOf(list, 5)));
        else
            QVERIFY(x11user::key(action));
        QTRY_VERIFY(companion->selectedLine() != 2);
        const int page = companion->selectedLine() + 1;
        QTRY_COMPARE(w->document().currentPage(), page);
        QCOMPARE(w->editor()->plainText(), names[page - 1]);

        if (command == "change") {
            QVERIFY(x11user::click(centreOf(button(companion, "Command3"))));
            QTRY_VERIFY(MakerFixture::entryDialog(w) &&
                        MakerFixture::entryDialog(w)->isActiveWindow());
            EntryDialog* dialog = MakerFixture::entryDialog(w);
            QCOMPARE(dialog->findChild<QLabel*>("Text2")->text(),
                     QStringLiteral("p%1").arg(page, 2));
            QCOMPARE(dialog->text(), contents ? names[page - 1] : keywords[page - 1]);
            QVERIFY(x11user::type(QStringLiteral("New")));
            QVERIFY(x11user::key(QStringLiteral("Return")));
            QTRY_VERIFY(!MakerFixture::entryDialog(w));
            if (contents)
                QCOMPARE(titleOf(w, page), QStringLiteral("New"));
            else
                QCOMPARE(w->document().page(page).keywords, QStringList{"New"});
        } else {
            m_answerer->pressNext(QStringLiteral("Return")); // Yes / OK
            QVERIFY(x11user::click(centreOf(button(companion, "Command2"))));
            QTRY_COMPARE_WITH_TIMEOUT(m_answerer->texts().size(), 1, 10000);
            QTRY_VERIFY(!QApplication::activeModalWidget());
            if (contents) {
                QCOMPARE(w->document().pageCount(), 11);
                for (int p = 1; p <= 11; ++p)
                    QCOMPARE(titleOf(w, p), names[p < page ? p - 1 : p]);
            } else {
                QVERIFY(m_answerer->texts().first().contains(keywords[page - 1]));
                QCOMPARE(w->document().page(page).keywords, QStringList{QString()});
            }
        }
        // Page 3, which the selection left, keeps what it had.
        if (page != 3)
            QCOMPARE(contents ? titleOf(w, page < 3 && command == "delete" ? 2 : 3)
                              : w->document().page(3).keywords.value(0),
                     contents ? QStringLiteral("Three") : QStringLiteral("three"));
    }

    // The keyboard stays in the window that raised a box, whichever way the box is answered.
    void focusStaysAfterABox_data() {
        QTest::addColumn<QString>("raiser");
        QTest::addColumn<bool>("byMouse");
        QTest::newRow("33rd character, key") << "limit" << false;
        QTest::newRow("33rd character, mouse") << "limit" << true;
        QTest::newRow("unstorable character, key") << "unstorable" << false;
        QTest::newRow("unstorable character, mouse") << "unstorable" << true;
        QTest::newRow("page delete question, key") << "page" << false;
        QTest::newRow("page delete question, mouse") << "page" << true;
        QTest::newRow("keyword delete question, key") << "keyword" << false;
        QTest::newRow("keyword delete question, mouse") << "keyword" << true;
    }
    void focusStaysAfterABox() {
        QFETCH(QString, raiser);
        QFETCH(bool, byMouse);
        MakerMainWindow* w = startShown();
        QVERIFY(w);
        makePages(w, {"One", "Two"}, {"page one text", "page two text"}, {"a", "b"}, 1);
        // The answer that leaves everything as it is: OK to a notice, No or Cancel to a question.
        const QMessageBox::StandardButton keep = raiser == "page"      ? QMessageBox::No
                                                 : raiser == "keyword" ? QMessageBox::Cancel
                                                                       : QMessageBox::Ok;
        if (byMouse)
            m_answerer->clickNext(keep);
        else
            m_answerer->pressNext(keep == QMessageBox::Ok ? QStringLiteral("Return")
                                                          : QStringLiteral("Escape"));
        QWidget* expected = nullptr;
        if (raiser == "limit" || raiser == "unstorable") {
            QListWidget* list = w->keywordWindow()->list();
            QVERIFY(x11user::click(centreOf(list, 0)));
            QVERIFY(x11user::click(centreOf(button(w->keywordWindow(), "Command3"))));
            QTRY_VERIFY(MakerFixture::entryDialog(w) &&
                        MakerFixture::entryDialog(w)->isActiveWindow());
            EntryTextBox* box = MakerFixture::entryDialog(w)->textBox();
            QTRY_VERIFY(box->hasFocus());
            expected = box;
            if (raiser == "limit") {
                box->setText(QString(32, QLatin1Char('x')));
                box->end(false);
                QVERIFY(x11user::type(QStringLiteral("y")));
            } else {
                box->setText(QStringLiteral("価格€"));
                QVERIFY(x11user::key(QStringLiteral("Return")));
            }
        } else {
            CompanionWindow* companion = raiser == "page"
                                             ? static_cast<CompanionWindow*>(w->contentsWindow())
                                             : w->keywordWindow();
            QVERIFY(x11user::click(centreOf(companion->list(), 0)));
            QTRY_VERIFY(companion->list()->hasFocus());
            expected = companion->list();
            QVERIFY(x11user::key(QStringLiteral("Delete")));
        }
        QTRY_COMPARE_WITH_TIMEOUT(m_answerer->texts().size(), 1, 10000);
        QObject* target = nullptr;
        keyboardTarget(target);
        QCOMPARE(target, expected);
        QCOMPARE(w->editor()->plainText(), QStringLiteral("page one text"));
        QCOMPARE(w->document().pageCount(), 2);
        QCOMPARE(w->document().page(1).keywords, QStringList{"a"});
        if (MakerFixture::entryDialog(w))
            MakerFixture::escapeEntryDialog(w);
    }

    // The contents and keyword windows open where the settings keep them, start after start,
    // whatever the window manager does with a new window meanwhile.
    void companionsOpenAtTheirStoredPlace() {
        MakerSettings settings;
        settings.contentsWindow = {3000, 9000, 2835, 3780};
        settings.keywordWindow = {7000, 9500, 2835, 3780};
        QVERIFY(writeSettingsFile(f.ini(), settings, false).ok());
        const auto pixels = [](const TwipsRect& r) {
            return QPoint(twipsToPixels(r.left, Qt::Horizontal),
                          twipsToPixels(r.top, Qt::Vertical));
        };
        for (int run = 0; run < 10; ++run) {
            MakerMainWindow* w = startShown();
            QVERIFY(w);
            QTRY_COMPARE(w->contentsWindow()->frameGeometry().topLeft(),
                         pixels(settings.contentsWindow));
            QTRY_COMPARE(w->keywordWindow()->frameGeometry().topLeft(),
                         pixels(settings.keywordWindow));
            // The window manager's own moves of a new window come late: the place must hold.
            QTest::qWait(300);
            QCOMPARE(w->contentsWindow()->frameGeometry().topLeft(),
                     pixels(settings.contentsWindow));
            QCOMPARE(w->keywordWindow()->frameGeometry().topLeft(), pixels(settings.keywordWindow));
            w->close();
            f.tearDown();
            f.setUp();
            QVERIFY(writeSettingsFile(f.ini(), settings, false).ok());
        }
    }
};

QTEST_MAIN(TestEntryWindows)
#include "tst_entrywindows.moc"
