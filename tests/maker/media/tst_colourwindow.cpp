#include "maker/media/colourswatches.h"
#include "maker/media/colourwindow.h"
#include "support/makerfixture.h"
#include "winsvc/wincolor.h"

#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>

using namespace quillo;
using namespace quillo::maker;
using Answer = Dialogs::Answer;

namespace {

constexpr quint32 Red = 0x0000FF;
constexpr quint32 Black = 0x000000;

template <typename T> T* part(QWidget* window, const char* name) {
    T* widget = window->findChild<T*>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no %s", name);
    return widget;
}

// Presses and releases the left button on swatch i of a strip, checking what the editor's
// selection length is while the button is down.
int pressSwatch(SwatchStrip* strip, int index, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mousePress(strip, button, {}, strip->slotCentre(index));
    auto* window = strip->window();
    auto* main = qobject_cast<MakerMainWindow*>(window->parentWidget());
    const int during = main ? main->editor()->selLength() : -1;
    QTest::mouseRelease(strip, button, {}, strip->slotCentre(index));
    return during;
}

void setBars(QWidget* window, int red, int green, int blue) {
    part<QScrollBar>(window, "hsbNewRed")->setValue(red);
    part<QScrollBar>(window, "hsbNewGreen")->setValue(green);
    part<QScrollBar>(window, "hsbNewBlue")->setValue(blue);
}

QList<int> bars(QWidget* window) {
    return {part<QScrollBar>(window, "hsbNewRed")->value(),
            part<QScrollBar>(window, "hsbNewGreen")->value(),
            part<QScrollBar>(window, "hsbNewBlue")->value()};
}

void pressPreview(QWidget* window) {
    auto* preview = part<ColourBox>(window, "Picture2");
    QTest::mouseClick(preview, Qt::LeftButton);
}

} // namespace

class TestColourWindow : public QObject {
    Q_OBJECT
    MakerFixture f;

    // A started window whose page reads "abcdef", unchanged, caret at 0.
    MakerMainWindow* startWithText() {
        MakerMainWindow* w = f.start();
        MakerFixture::type(w, QStringLiteral("abcdef"));
        w->document().clearChangeFlags();
        w->editor()->setSelStart(0);
        return w;
    }
    static QWidget* open(MakerMainWindow* w, const char* item) {
        MakerFixture::trigger(w, item);
        QWidget* window = w->findChild<QWidget*>(QStringLiteral("qzd32mk_colr"));
        if (!window || !window->isVisible())
            qFatal("colour window not shown");
        return window;
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { f.setUp(); }
    void cleanup() { f.tearDown(); }

    void captionsByTabAndTarget_data() {
        QTest::addColumn<QByteArray>("item");
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("label");
        QTest::addColumn<bool>("systemButton");
        QTest::newRow("text, palette")
            << QByteArray("qzd32mk_color_moji") << 0 << QStringLiteral("文字カラー")
            << QStringLiteral("文字") << false;
        QTest::newRow("text, details")
            << QByteArray("qzd32mk_color_moji") << 1 << QStringLiteral("文字カラー詳細")
            << QStringLiteral("文字") << false;
        QTest::newRow("background, palette")
            << QByteArray("qzd32mk_color_back") << 0 << QStringLiteral("背景カラー")
            << QStringLiteral("背景") << true;
        QTest::newRow("background, details")
            << QByteArray("qzd32mk_color_back") << 1 << QStringLiteral("背景カラー詳細")
            << QStringLiteral("背景") << true;
    }
    void captionsByTabAndTarget() {
        QFETCH(QByteArray, item);
        QFETCH(int, tab);
        QFETCH(QString, caption);
        QFETCH(QString, label);
        QFETCH(bool, systemButton);
        MakerMainWindow* w = startWithText();
        QWidget* c = open(w, item.constData());
        part<QTabWidget>(c, "SSTab1")->setCurrentIndex(tab);
        QCOMPARE(c->windowTitle(), caption);
        QCOMPARE(part<QLabel>(c, "Label1")->text(), label);
        QCOMPARE(part<QRadioButton>(c, "Option2")->isChecked(), label == QStringLiteral("背景"));
        QCOMPARE(part<QPushButton>(c, tab == 0 ? "Command4" : "Command2")->isVisible(),
                 systemButton);
        // The option buttons change the target and the captions with it.
        part<QRadioButton>(c, systemButton ? "Option1" : "Option2")->click();
        QVERIFY(c->windowTitle() != caption);
        QCOMPARE(part<QPushButton>(c, tab == 0 ? "Command4" : "Command2")->isVisible(),
                 !systemButton);
    }

    void noSelectionChangesNothing() {
        MakerMainWindow* w = startWithText();
        QWidget* c = open(w, "qzd32mk_color_moji");
        pressSwatch(part<SwatchStrip>(c, "Picture1"), 12);
        QVERIFY(!w->document().isModified());
        QVERIFY(!w->document().isShownPageEdited());
        w->editor()->select(0, 6);
        QCOMPARE(w->editor()->selectionFormat().color, std::optional<quint32>(Black));
    }

    void textColourCollapsesAndRestores() {
        MakerMainWindow* w = startWithText();
        QWidget* c = open(w, "qzd32mk_color_moji");
        auto* palette = part<SwatchStrip>(c, "Picture1");
        w->editor()->select(1, 3);
        // The same colour: collapsed while pressed, selected again after, nothing changed.
        QCOMPARE(pressSwatch(palette, 0), 0);
        QCOMPARE(w->editor()->selStart(), 1);
        QCOMPARE(w->editor()->selLength(), 3);
        QVERIFY(!w->document().isModified());
        // Another colour changes the page.
        QCOMPARE(pressSwatch(palette, 12), 0);
        QCOMPARE(w->editor()->selLength(), 3);
        QCOMPARE(w->editor()->selectionFormat().color, std::optional<quint32>(Red));
        QVERIFY(w->document().isModified());
        QVERIFY(w->document().isShownPageEdited());
        w->editor()->select(0, 1);
        QCOMPARE(w->editor()->selectionFormat().color, std::optional<quint32>(Black));
    }

    void backgroundAndIndicator() {
        MakerMainWindow* w = startWithText();
        QWidget* c = open(w, "qzd32mk_color_back");
        pressSwatch(part<SwatchStrip>(c, "Picture1"), 14);
        QCOMPARE(w->editor()->backColor(), 0x00FFFFu);
        QCOMPARE(part<QLabel>(w, "Label3")->palette().color(QPalette::Window), QColor(255, 255, 0));
        QVERIFY(w->document().isModified());
        // The system colour button of the detail tab goes back to the window colour.
        w->document().clearChangeFlags();
        part<QTabWidget>(c, "SSTab1")->setCurrentIndex(1);
        QCOMPARE(bars(c), (QList<int>{255, 255, 0}));
        part<QPushButton>(c, "Command2")->click();
        QCOMPARE(w->editor()->backColor(), 0x80000005u);
        QVERIFY(w->document().isModified());
        // A system background shows all three bars at 255.
        part<QTabWidget>(c, "SSTab1")->setCurrentIndex(0);
        part<QTabWidget>(c, "SSTab1")->setCurrentIndex(1);
        QCOMPARE(bars(c), (QList<int>{255, 255, 255}));
        // The same colour again marks nothing.
        w->document().clearChangeFlags();
        part<QPushButton>(c, "Command2")->click();
        QVERIFY(!w->document().isModified());
    }

    void savedColours() {
        MakerMainWindow* w = startWithText();
        QWidget* c = open(w, "qzd32mk_color_back");
        part<QTabWidget>(c, "SSTab1")->setCurrentIndex(1);
        auto* strip = part<SwatchStrip>(c, "Picture3");
        for (int i = 1; i <= 11; ++i) {
            setBars(c, i, 0, 0);
            pressPreview(c);
        }
        QCOMPARE(strip->colours().size(), 10);
        QCOMPARE(strip->colours().first(), 2u); // the first was pushed out
        QCOMPARE(strip->colours().last(), 11u);
        QCOMPARE(w->editor()->backColor(), 11u);
        setBars(c, 5, 0, 0);
        pressPreview(c); // already saved
        QCOMPARE(strip->colours().size(), 10);
        QCOMPARE(strip->colours().last(), 11u);

        // Clicking the last saved colour, then deleting it: the last clicked index follows.
        pressSwatch(strip, 9);
        QCOMPARE(bars(c), (QList<int>{11, 0, 0}));
        QTest::mousePress(strip, Qt::RightButton, {}, strip->slotCentre(9));
        auto* menu = part<QMenu>(c, "ColorSet");
        QTRY_VERIFY(menu->isVisible());
        menu->hide();
        part<QAction>(c, "ColorSetDel")->trigger();
        QCOMPARE(strip->colours().size(), 9);
        QCOMPARE(strip->colours().last(), 10u);
        // With the text as target and nothing selected, the details start from that colour.
        part<QRadioButton>(c, "Option1")->click();
        QCOMPARE(bars(c), (QList<int>{10, 0, 0}));

        // Deleting all asks first.
        f.dialogs().answerNext(Answer::No);
        part<QAction>(c, "ColorSetClear")->trigger();
        QCOMPARE(strip->colours().size(), 9);
        f.dialogs().answerNext(Answer::Yes);
        part<QAction>(c, "ColorSetClear")->trigger();
        QVERIFY(strip->colours().isEmpty());
        const auto messages = f.dialogs().messages();
        QCOMPARE(messages.size(), 2);
        QCOMPARE(messages[0].title, QStringLiteral("qzd32Maker 詳細色設定"));
        QCOMPARE(messages[0].text, QStringLiteral("全ての色設定をクリアします。宜しいですか。"));
        QCOMPARE(messages[0].buttons, Dialogs::Buttons::YesNo);
    }

    void keptInSettings() {
        MakerMainWindow* w = startWithText();
        QWidget* c = open(w, "qzd32mk_color_back");
        part<QTabWidget>(c, "SSTab1")->setCurrentIndex(1);
        setBars(c, 1, 2, 3);
        pressPreview(c);
        QTest::keyClick(c, Qt::Key_Escape);
        QVERIFY(!c->isVisible());
        f.dialogs().answerNext(Answer::No); // the unsaved background change
        w->close();
        QFile ini(f.ini());
        QVERIFY(ini.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = ini.readAll().split('\n');
        const qsizetype at = lines.indexOf("<qzd32mkColor>\r");
        QVERIFY(at >= 0);
        // Offsets, the count, the colour, the tab, the target, the selected index.
        QCOMPARE(lines[at + 3], QByteArray(" 1\r"));
        QCOMPARE(lines[at + 4], QByteArray(" 197121\r")); // red 1, green 2, blue 3
        QCOMPARE(lines[at + 5], QByteArray(" 1\r"));
        QCOMPARE(lines[at + 6], QByteArray(" 1\r"));
    }
};

QTEST_MAIN(TestColourWindow)
#include "tst_colourwindow.moc"
