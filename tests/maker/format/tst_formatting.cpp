#include "maker/format/formatlogic.h"
#include "maker/format/indentruler.h"
#include "support/makerfixture.h"
#include "viewer/viewerwindow.h"
#include "winsvc/twips.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>

using namespace quillo;
using namespace quillo::maker;
using Answer = Dialogs::Answer;

namespace {

QComboBox* box(MakerMainWindow* w, const char* name) {
    return w->findChild<QComboBox*>(QString::fromLatin1(name));
}

bool pressed(MakerMainWindow* w, const char* key) {
    return MakerFixture::button(w, key)->isChecked();
}

// The format of the one character at `position`.
SelectionFormat formatAt(RichTextControl* editor, int position) {
    editor->select(position, 1);
    return editor->selectionFormat();
}

// A mouse click (press and release) at the caret position `position` of the editor.
void clickAt(RichTextControl* editor, int position) {
    QTextCursor cursor(editor->document());
    cursor.setPosition(position);
    const QPoint point = editor->cursorRect(cursor).center() + QPoint(1, 0);
    QTest::mouseClick(editor->viewport(), Qt::LeftButton, {}, point);
}

void sendMouse(QWidget* widget, QEvent::Type type, int windowX) {
    const QPoint local(windowX - widget->x(), widget->height() / 2);
    QMouseEvent event(type, local, widget->mapToGlobal(local),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

} // namespace

class TestFormatting : public QObject {
    Q_OBJECT
    MakerFixture f;

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { f.setUp(); }
    void cleanup() { f.tearDown(); }

    void toolbarsCarryTheirButtons() {
        MakerMainWindow* w = f.start();
        QVERIFY(w);
        QToolButton* bold = MakerFixture::button(w, "qzd32mk_bold");
        QVERIFY(bold);
        QCOMPARE(bold->toolTip(), QStringLiteral("ボールド化します。"));
        QVERIFY(!bold->icon().isNull() || bold->toolButtonStyle() == Qt::ToolButtonTextOnly);
        QCOMPARE(MakerFixture::button(w, "qzd32mk_undoP")->toolTip(),
                 QStringLiteral("元に戻す<頁編集>"));
        // The buttons are as available as their menu items.
        QVERIFY(MakerFixture::button(w, "qzd32mk_image_set")->isEnabled());
        QVERIFY(MakerFixture::button(w, "qzd32mk_moji_color")->isEnabled());
        QVERIFY(MakerFixture::button(w, "qzd32mk_newP")->isEnabled());
    }

    // The size box driven as a writer does: click into it, replace its text, press Enter.
    void typedSizes_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("applied"); // 0: the selection keeps its size
        QTest::addColumn<bool>("refused");
        QTest::newRow("not in the list") << QStringLiteral("13") << 13.0 << false;
        QTest::newRow("lowest") << QStringLiteral("6") << 6.0 << false;
        QTest::newRow("highest") << QStringLiteral("48") << 48.0 << false;
        QTest::newRow("too small") << QStringLiteral("5") << 0.0 << true;
        QTest::newRow("too large") << QStringLiteral("49") << 0.0 << true;
        QTest::newRow("not a number") << QStringLiteral("abc") << 0.0 << false;
    }
    void typedSizes() {
        QFETCH(QString, typed);
        QFETCH(double, applied);
        QFETCH(bool, refused);
        MakerMainWindow* w = f.start();
        QVERIFY(w);
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        MakerFixture::type(w, QStringLiteral("あいう"));
        w->editor()->select(0, 3);
        QComboBox* sizes = box(w, "Combo2");
        emit sizes->activated(sizes->findText(QStringLiteral("12")));
        sizes->setCurrentIndex(sizes->findText(QStringLiteral("12")));
        QTest::mouseClick(sizes->lineEdit(), Qt::LeftButton);
        QTRY_VERIFY(sizes->hasFocus() || sizes->lineEdit()->hasFocus());
        QWidget* keys = QApplication::focusWidget();
        QTest::keyClick(keys, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(keys, typed);
        QCOMPARE(sizes->currentText(), typed);
        if (refused)
            f.dialogs().answerNext(Answer::Ok);
        QTest::keyClick(keys, Qt::Key_Return);
        w->editor()->select(0, 3);
        if (applied > 0) {
            QCOMPARE(*w->editor()->selectionFormat().fontSize, applied);
            QVERIFY(f.dialogs().messages().isEmpty());
            QVERIFY(w->editor()->hasFocus());
            return;
        }
        QCOMPARE(*w->editor()->selectionFormat().fontSize, 12.0);
        if (!refused) {
            QVERIFY(f.dialogs().messages().isEmpty());
            return;
        }
        QCOMPARE(f.dialogs().messages().size(), 1);
        QCOMPARE(f.dialogs().messages()[0].title, QStringLiteral("qzd32maker フォントサイズ"));
        QCOMPARE(f.dialogs().messages()[0].text,
                 QStringLiteral("フォントサイズは  6～48 の範囲で設定してください。"));
        QCOMPARE(sizes->currentText(), QStringLiteral("12"));
    }

    // A font chosen at the caret is not an edit; chosen for a selection it is.
    void fontAtTheCaretIsNotAnEdit() {
        MakerMainWindow* w = f.start();
        QVERIFY(w);
        f.dialogs().chooseFileNext(f.file(QStringLiteral("font.qzd")));
        QComboBox* fonts = box(w, "Combo1");
        emit fonts->activated(fonts->findText(QStringLiteral("IPAMincho")));
        QVERIFY(!w->document().isShownPageEdited());
        QVERIFY(!w->document().isModified());
        QCOMPARE(*w->editor()->selectionFormat().fontName, QStringLiteral("IPAMincho"));
        // The change notification the choice caused was consumed: typing is an edit again.
        QVERIFY(!w->ignoreNextChange());
        MakerFixture::type(w, QStringLiteral("字"));
        QVERIFY(w->document().isShownPageEdited());
        QVERIFY(w->document().isModified());

        // Inside text, where the choice changes nothing in the page, the first character
        // typed after it still counts.
        MakerFixture::trigger(w, "qzd32mk_file_save_rename");
        QVERIFY(!w->document().isModified());
        MakerFixture::type(w, QStringLiteral("一二"));
        w->editor()->setSelStart(1);
        QTest::mouseRelease(w->editor()->viewport(), Qt::LeftButton);
        MakerFixture::trigger(w, "qzd32mk_file_save");
        emit fonts->activated(fonts->findText(QStringLiteral("IPAGothic")));
        QVERIFY(!w->document().isModified());
        MakerFixture::type(w, QStringLiteral("x"));
        QVERIFY(w->document().isModified());

        w->editor()->select(0, 1);
        emit fonts->activated(fonts->findText(QStringLiteral("IPAGothic")));
        QVERIFY(w->document().isShownPageEdited());
    }

    void caretKeysDoNotRefreshTheToolbarButTheMouseDoes() {
        MakerMainWindow* w = f.start();
        QVERIFY(w);
        RichTextControl* editor = w->editor();
        MakerFixture::type(w, QStringLiteral("plain BOLD"));
        editor->select(6, 4);
        QTest::keyClick(editor, Qt::Key_B, Qt::ControlModifier);
        QVERIFY(pressed(w, "qzd32mk_bold"));
        clickAt(editor, 2);
        QVERIFY(!pressed(w, "qzd32mk_bold"));
        QTest::keyClick(editor, Qt::Key_End);
        QTest::keyClick(editor, Qt::Key_Left);
        QCOMPARE(editor->selStart(), 9);
        QVERIFY(!pressed(w, "qzd32mk_bold"));
        clickAt(editor, 8);
        QVERIFY(pressed(w, "qzd32mk_bold"));
    }

    void mixedAlignmentLeavesTheButtons() {
        MakerMainWindow* w = f.start();
        QVERIFY(w);
        RichTextControl* editor = w->editor();
        MakerFixture::type(w, QStringLiteral("centre\nright"));
        editor->setSelStart(0);
        MakerFixture::click(w, "qzd32mk_center");
        QCOMPARE(editor->selectionFormat().alignment, SelectionFormat::AlignCenter);
        editor->setSelStart(8);
        MakerFixture::click(w, "qzd32mk_right");
        QVERIFY(pressed(w, "qzd32mk_right") && !pressed(w, "qzd32mk_center"));
        clickAt(editor, 2);
        QVERIFY(pressed(w, "qzd32mk_center"));
        QVERIFY(!pressed(w, "qzd32mk_right") && !pressed(w, "qzd32mk_left"));
        editor->select(0, editor->textLength());
        QTest::mouseRelease(editor->viewport(), Qt::LeftButton);
        QVERIFY(pressed(w, "qzd32mk_center"));
        QVERIFY(!pressed(w, "qzd32mk_right") && !pressed(w, "qzd32mk_left"));
    }

    // Ctrl+B, Ctrl+I and Ctrl+U work from any control of the window; the buttons follow.
    void styleKeysAndButtons() {
        MakerMainWindow* w = f.start();
        QVERIFY(w);
        RichTextControl* editor = w->editor();
        MakerFixture::type(w, QStringLiteral("文字の飾り"));
        editor->select(0, 2);
        QTest::keyClick(box(w, "Combo2")->lineEdit(), Qt::Key_U, Qt::ControlModifier);
        QCOMPARE(editor->selectionFormat().underline, true);
        QVERIFY(pressed(w, "qzd32mk_underline"));
        QTest::keyClick(editor, Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(editor->selectionFormat().italic, true);
        QCOMPARE(editor->plainText(), QStringLiteral("文字の飾り"));
        MakerFixture::click(w, "qzd32mk_italic");
        QCOMPARE(editor->selectionFormat().italic, false);
        QVERIFY(!pressed(w, "qzd32mk_italic"));
        MakerFixture::click(w, "qzd32mk_bullet");
        QCOMPARE(editor->selectionFormat().bullet, true);
        QVERIFY(pressed(w, "qzd32mk_bullet"));
        QVERIFY(w->document().isModified());
    }

    void backspaceAtTheStartRemovesTheIndent() {
        MakerMainWindow* w = f.start();
        QVERIFY(w);
        RichTextControl* editor = w->editor();
        MakerFixture::type(w, QStringLiteral("字下げ"));
        SelectionFormat indent;
        indent.leftIndent = 720;
        editor->setSelectionFormat(indent);
        clickAt(editor, 1);
        auto* ruler = w->findChild<IndentRuler*>();
        QCOMPARE(ruler->markerLeft(IndentRuler::Left), 170 + 720);
        editor->setSelStart(0);
        QTest::keyClick(editor, Qt::Key_Backspace);
        QCOMPARE(editor->plainText(), QStringLiteral("字下げ"));
        QCOMPARE(editor->selectionFormat().leftIndent, 0);
        QCOMPARE(ruler->markerLeft(IndentRuler::Left), LeftMarkerHome);
    }

    // Dragging the left marker towards the right one stops 200 twips before it; releasing
    // sets the paragraph's left indent where the guide line stands.
    void rulerDragStopsAtTheLimit() {
        MakerMainWindow* w = f.start();
        QVERIFY(w);
        RichTextControl* editor = w->editor();
        MakerFixture::type(w, QStringLiteral("ルーラー"));
        auto* ruler = w->findChild<IndentRuler*>();
        RulerMarker* marker = ruler->marker(IndentRuler::Left);
        const int start = marker->x() + marker->width() / 2;
        sendMouse(marker, QEvent::MouseButtonPress, start);
        QCOMPARE(ruler->dragState(IndentRuler::Left), IndentRuler::Pressed);
        QVERIFY(ruler->guide(IndentRuler::Left)->isVisible());
        sendMouse(marker, QEvent::MouseMove, start);
        QCOMPARE(ruler->dragState(IndentRuler::Left), IndentRuler::Dragging);
        sendMouse(marker, QEvent::MouseMove, start + twipsToPixels(720));
        QCOMPARE(ruler->markerLeft(IndentRuler::Left), 170 + 720);
        QCOMPARE(ruler->positionLabel(IndentRuler::Left)->text(),
                 rulerLabelText(QStringLiteral("L="), roundHalfEven(720 * 1.112)));
        const int rightLeft = ruler->markerLeft(IndentRuler::Right);
        sendMouse(marker, QEvent::MouseMove, marker->x() + twipsToPixels(rightLeft));
        QCOMPARE(ruler->markerLeft(IndentRuler::Left), rightLeft - 200);
        QCOMPARE(ruler->dragState(IndentRuler::Left), IndentRuler::Idle);
        sendMouse(marker, QEvent::MouseMove, start); // the drag has ended
        QCOMPARE(ruler->markerLeft(IndentRuler::Left), rightLeft - 200);
        sendMouse(marker, QEvent::MouseButtonRelease, start);
        QVERIFY(!ruler->guide(IndentRuler::Left)->isVisible());
        QCOMPARE(editor->selectionFormat().leftIndent, rightLeft - 200 - LeftMarkerHome);
    }

    void contextMenuAndEditCommands() {
        MakerMainWindow* w = f.start();
        QVERIFY(w);
        RichTextControl* editor = w->editor();
        MakerFixture::type(w, QStringLiteral("切り取る文"));
        QTest::mousePress(editor->viewport(), Qt::RightButton, {}, QPoint(20, 10));
        auto* menu = w->findChild<QMenu*>(QStringLiteral("qzd32mk_edit"));
        QTRY_VERIFY(menu->isVisible());
        menu->close();
        MakerFixture::trigger(w, "qzd32mk_all_select");
        QCOMPARE(editor->selLength(), 5);
        MakerFixture::trigger(w, "qzd32mk_cut");
        QCOMPARE(editor->plainText(), QString());
        MakerFixture::trigger(w, "qzd32mk_paist");
        MakerFixture::trigger(w, "qzd32mk_paist");
        QCOMPARE(editor->plainText(), QStringLiteral("切り取る文切り取る文"));
        MakerFixture::trigger(w, "qzd32mk_undo");
        QCOMPARE(editor->plainText(), QStringLiteral("切り取る文"));
        editor->select(0, 2);
        MakerFixture::trigger(w, "qzd32mk_delete");
        QCOMPARE(editor->plainText(), QStringLiteral("取る文"));
    }

    // A page formatted in the editor reads back the same from the saved file, in the
    // authoring window and in the viewer.
    void formattedPageSurvivesSaveReopenAndViewer() {
        MakerMainWindow* w = f.start();
        QVERIFY(w);
        RichTextControl* editor = w->editor();
        MakerFixture::type(w, QStringLiteral("見出しの行\n箇条書き一\n箇条書き二\n字下げの段落"));
        editor->select(0, 3);
        QTest::keyClick(editor, Qt::Key_B, Qt::ControlModifier);
        SelectionFormat red;
        red.color = 0x0000FF;
        editor->select(3, 2);
        editor->setSelectionFormat(red);
        editor->select(6, 8);
        MakerFixture::click(w, "qzd32mk_bullet");
        SelectionFormat indents;
        indents.leftIndent = 720;
        indents.rightIndent = 360;
        editor->select(18, 2);
        editor->setSelectionFormat(indents);
        const QString path = f.file(QStringLiteral("formatted.qzd"));
        f.dialogs().chooseFileNext(path);
        MakerFixture::trigger(w, "qzd32mk_file_save_rename");

        const auto check = [](RichTextControl* page) {
            QCOMPARE(page->plainText(),
                     QStringLiteral("見出しの行\n箇条書き一\n箇条書き二\n字下げの段落"));
            QCOMPARE(formatAt(page, 1).bold, true);
            QCOMPARE(formatAt(page, 4).bold, false);
            QCOMPARE(formatAt(page, 4).color, 0x0000FFu);
            QCOMPARE(formatAt(page, 7).bullet, true);
            QCOMPARE(formatAt(page, 13).bullet, true);
            QCOMPARE(formatAt(page, 1).bullet, false);
            QCOMPARE(formatAt(page, 18).bullet, false);
            QCOMPARE(formatAt(page, 18).leftIndent, 720);
            QCOMPARE(formatAt(page, 18).rightIndent, 360);
        };
        MakerMainWindow* reopened = f.start(path);
        QVERIFY(reopened);
        check(reopened->editor());
        if (QTest::currentTestFailed())
            return;

        viewer::ViewerWindow viewerWindow(f.dialogs());
        viewerWindow.startUp(path);
        viewerWindow.show(); // the viewer reads its page once its window is on screen
        auto* page = viewerWindow.findChild<RichTextControl*>(QStringLiteral("RichTextBox2"));
        QVERIFY(page);
        QTRY_VERIFY(!page->plainText().isEmpty());
        check(page);
    }
};

QTEST_MAIN(TestFormatting)
#include "tst_formatting.moc"
