// Walks the accessibility trees of both programs' windows, as a screen reader does, and
// fails on a control that takes the keyboard focus but has no name, on a box named by its
// current value, and on a window a screen reader would not announce as a window.
#include "maker/entries/companionwindows.h"
#include "maker/media/colourwindow.h"
#include "maker/media/imagewindow.h"
#include "maker/search/searchwindow.h"
#include "support/makerfixture.h"
#include "support/scripteddialogs.h"
#include "viewer/viewerwindow.h"
#include "winsvc/appenv.h"

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

using namespace quillo;
using namespace quillo::maker;

namespace {

QString describe(QAccessibleInterface* iface) {
    QObject* object = iface->object();
    const QString name = object ? object->objectName() : QString();
    return QStringLiteral("%1 '%2' (role %3)")
        .arg(QLatin1String(object ? object->metaObject()->className() : "item"), name)
        .arg(int(iface->role()));
}

// The problems of one visible subtree: unnamed focusable controls and boxes named by value.
void collectProblems(QAccessibleInterface* iface, const QString& window, QStringList& problems,
                     int& focusable) {
    const QAccessible::State state = iface->state();
    if (state.invisible)
        return;
    if (state.focusable) {
        ++focusable;
        const QString name = iface->text(QAccessible::Name).trimmed();
        if (name.isEmpty())
            problems << window + QStringLiteral(": unnamed ") + describe(iface);
        const QString value = iface->text(QAccessible::Value);
        if (iface->role() == QAccessible::ComboBox && !value.isEmpty() && name == value)
            problems << window + QStringLiteral(": named by its value ") + describe(iface);
    }
    for (int i = 0; i < iface->childCount(); ++i)
        if (QAccessibleInterface* child = iface->child(i))
            collectProblems(child, window, problems, focusable);
}

// Fails with every problem of the window's tree at once.
void checkTree(QWidget* window) {
    QVERIFY(window);
    QVERIFY2(window->isVisible(), qPrintable(window->objectName()));
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(window);
    QVERIFY(iface);
    QStringList problems;
    int focusable = 0;
    collectProblems(iface, window->objectName(), problems, focusable);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
    QVERIFY2(focusable > 0, qPrintable(window->objectName()));
}

void checkWindowRole(QWidget* window, const QString& title) {
    QVERIFY(window);
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(window);
    QVERIFY(iface);
    QVERIFY2(iface->role() == QAccessible::Window || iface->role() == QAccessible::Dialog,
             qPrintable(title + QStringLiteral(": role ") + QString::number(iface->role())));
    QCOMPARE(iface->text(QAccessible::Name), title);
}

QString nameOf(QWidget* widget) {
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT
    MakerFixture f;

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        installWindowAccessibility();
    }
    void init() { f.setUp(); }
    void cleanup() { f.tearDown(); }

    void viewer() {
        test::ScriptedDialogs dialogs;
        viewer::ViewerWindow window(dialogs);
        window.startUp(QStringLiteral(QUILLO_TEST_DATA "/core/japanese.qzd"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        checkTree(&window);
        QCOMPARE(nameOf(window.findChild<QWidget*>(QStringLiteral("RichTextBox2"))),
                 QStringLiteral("ページ"));
        QCOMPARE(nameOf(window.findChild<QWidget*>(QStringLiteral("Text1"))),
                 QStringLiteral("検索文字"));
        QCOMPARE(dialogs.unexpectedCount(), 0);
    }

    // The authoring window with its contents and keyword windows, the search window, the
    // entry dialog and the preview, each walked while it is shown.
    void maker() {
        const QString path = f.file(QStringLiteral("japanese.qzd"));
        QVERIFY(QFile::copy(QStringLiteral(QUILLO_TEST_DATA "/core/japanese.qzd"), path));
        MakerMainWindow* w = f.start(path);
        QVERIFY(w);
        QVERIFY(QTest::qWaitForWindowExposed(w));
        checkTree(w);
        QCOMPARE(nameOf(w->findChild<QWidget*>(QStringLiteral("Combo1"))),
                 QStringLiteral("フォント"));
        QCOMPARE(nameOf(w->findChild<QWidget*>(QStringLiteral("Combo2"))),
                 QStringLiteral("フォントサイズ"));

        for (QWidget* companion : {static_cast<QWidget*>(w->contentsWindow()),
                                   static_cast<QWidget*>(w->keywordWindow())}) {
            if (!companion->isVisible())
                companion->show();
            checkTree(companion);
            checkWindowRole(companion, companion->windowTitle());
        }
        QCOMPARE(nameOf(w->contentsWindow()), QStringLiteral("目次"));
        QCOMPARE(nameOf(w->keywordWindow()), QStringLiteral("ｷｰﾜｰﾄﾞ"));

        MakerFixture::trigger(w, "qzd32mk_chikan_shori");
        checkTree(w->searchWindow());
        checkWindowRole(w->searchWindow(), QStringLiteral("検索・置換"));
        w->searchWindow()->close();

        // The keyword window's 新規 asks for the keyword in the entry dialog.
        QTest::mouseClick(w->keywordWindow()->findChild<QPushButton*>(QStringLiteral("Command1")),
                          Qt::LeftButton);
        EntryDialog* entry = MakerFixture::entryDialog(w);
        QVERIFY(entry);
        checkTree(entry);
        checkWindowRole(entry, entry->windowTitle());
        QCOMPARE(nameOf(entry->textBox()), entry->windowTitle());
        MakerFixture::escapeEntryDialog(w);

        // The tool windows of pictures and colours.
        MakerFixture::trigger(w, "qzd32mk_image_set");
        checkTree(w->imageWindow());
        checkWindowRole(w->imageWindow(), w->imageWindow()->windowTitle());
        w->imageWindow()->close();
        MakerFixture::trigger(w, "qzd32mk_color_moji");
        checkTree(w->colourWindow());
        checkWindowRole(w->colourWindow(), w->colourWindow()->windowTitle());
        w->colourWindow()->close();

        MakerFixture::trigger(w, "qzd32mk_preview_help");
        QVERIFY(w->previewWindow());
        QVERIFY(QTest::qWaitForWindowExposed(w->previewWindow()));
        checkTree(w->previewWindow());
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
