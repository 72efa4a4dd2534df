// The search, colour and image windows on a real X server with a window manager: each
// opening, whichever way it comes, puts the window at its offset from the main window, and
// message boxes are wide enough for their titles.
#include "maker/media/colourwindow.h"
#include "maker/media/imagewindow.h"
#include "maker/search/searchwindow.h"
#include "support/makerfixture.h"
#include "winsvc/twips.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

using namespace quillo;
using namespace quillo::maker;

namespace {

bool framed(const QWidget* window) {
    return window->frameGeometry() != window->geometry();
}

// Where the window's frame stands on the screen, as the X server tells it.
QPoint screenPlace(const QWidget* window) {
    QProcess xwininfo;
    xwininfo.start(QStringLiteral("xwininfo"), {QStringLiteral("-frame"), QStringLiteral("-id"),
                                                QString::number(window->winId())});
    xwininfo.waitForFinished();
    const QString out = QString::fromLocal8Bit(xwininfo.readAllStandardOutput());
    const auto value = [&out](const char* name) {
        const QRegularExpression re(QString::fromLatin1(name) + QStringLiteral(":\\s*(-?\\d+)"));
        return re.match(out).captured(1).toInt();
    };
    return {value("Absolute upper-left X"), value("Absolute upper-left Y")};
}

// Presses a menu item the way an assistive tool does: through the accessible interface of
// the menu that holds it, not through a click.
bool pressThroughAccessibility(QAction* action) {
    for (QObject* object : action->associatedObjects()) {
        auto* menu = qobject_cast<QMenu*>(object);
        QAccessibleInterface* accessible =
            menu ? QAccessible::queryAccessibleInterface(menu) : nullptr;
        if (!accessible)
            continue;
        QString name = action->text();
        name.remove(u'&');
        for (int i = 0; i < accessible->childCount(); ++i) {
            QAccessibleInterface* item = accessible->child(i);
            if (item && item->text(QAccessible::Name).remove(u'&') == name &&
                item->actionInterface()) {
                item->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
                return true;
            }
        }
    }
    return false;
}

} // namespace

class TestToolWindowPlace : public QObject {
    Q_OBJECT
    MakerFixture f;

    MakerMainWindow* startShown() {
        MakerMainWindow* w = f.start();
        if (!w)
            return nullptr;
        w->show();
        if (!QTest::qWaitForWindowExposed(w))
            return nullptr;
        // The desktop frames it soon after it is shown.
        for (int i = 0; i < 200 && !framed(w); ++i)
            QTest::qWait(50);
        w->activateWindow();
        return framed(w) ? w : nullptr;
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { f.setUp(); }
    void cleanup() { f.tearDown(); }

    // Opened and closed ten times, by the menu, as an assistive tool presses the menu item, or
    // shown without its command, each window comes back where it first stood: at its stored offset
    // (1500 twips down, 2500 right of the main window's corner), frames included.
    void reopensAtItsOffset_data() {
        QTest::addColumn<QByteArray>("item");
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("route"); // 0 the menu, 1 accessibility, 2 show() once made
        const QList<std::pair<QByteArray, QString>> windows = {
            {"qzd32mk_search_shori", QStringLiteral("qzd32mk_srch")},
            {"qzd32mk_color_moji", QStringLiteral("qzd32mk_colr")},
            {"qzd32mk_image_set", QStringLiteral("qzd32mk_bmp")},
        };
        for (const auto& [item, window] : windows) {
            QTest::newRow(qPrintable(window + QStringLiteral(" by the menu")))
                << item << window << 0;
            QTest::newRow(qPrintable(window + QStringLiteral(" by accessibility")))
                << item << window << 1;
            QTest::newRow(qPrintable(window + QStringLiteral(" shown directly")))
                << item << window << 2;
        }
    }
    void reopensAtItsOffset() {
        QFETCH(QByteArray, item);
        QFETCH(QString, window);
        QFETCH(int, route);
        QDir::setCurrent(f.home());
        MakerMainWindow* w = startShown();
        QVERIFY(w);
        auto* action = w->findChild<QAction*>(QString::fromLatin1(item));
        QVERIFY(action);
        const QPoint wanted(twipsToPixels(2500, Qt::Horizontal), twipsToPixels(1500, Qt::Vertical));
        for (int opening = 1; opening <= 10; ++opening) {
            // The writer moves the main window while the tool window is closed.
            const QPoint before = screenPlace(w);
            w->windowHandle()->setFramePosition(w->frameGeometry().topLeft() + QPoint(6, 4));
            for (int i = 0; i < 500 && screenPlace(w) == before; ++i)
                QTest::qWait(20);
            const QPoint home = screenPlace(w);
            QCOMPARE(home, before + QPoint(6, 4));
            QTRY_COMPARE_WITH_TIMEOUT(w->geometry().topLeft(), home,
                                      15000); // the program knows too
            auto* tool = w->findChild<QWidget*>(window);
            if (route == 1)
                QVERIFY(pressThroughAccessibility(action));
            else if (route == 2 && tool)
                tool->show();
            else
                action->trigger();
            tool = w->findChild<QWidget*>(window);
            QVERIFY(tool);
            // Every other time the writer closes it at once, before the desktop has told the
            // program about the frame it put around the window.
            if (opening % 2 == 1)
                QTest::qWait(opening * 4);
            if (opening % 2 == 0) {
                QVERIFY(QTest::qWaitForWindowExposed(tool));
                for (int i = 0; i < 300 && screenPlace(tool) - home != wanted; ++i)
                    QTest::qWait(50);
                QTest::qWait(100);
                QCOMPARE(screenPlace(tool) - home, wanted);
            }
            tool->close();
            QTRY_VERIFY_WITH_TIMEOUT(!tool->isVisible(), 15000);
        }
    }

    // A box whose text is shorter than its title is made wide enough for the title to show
    // whole in its frame, beside the frame's own buttons.
    void messageBoxShowsItsWholeTitle() {
        QWidget main;
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        const QString title = QStringLiteral("qzd32Maker すべて置換");
        int width = 0;
        QTimer::singleShot(0, this, [&] {
            QWidget* box = QApplication::activeModalWidget();
            for (int i = 0; box && i < 100 && !box->isVisible(); ++i)
                QTest::qWait(50);
            if (!box)
                return;
            width = box->width();
            if (auto* ok = box->findChild<QPushButton*>())
                ok->click();
            else
                box->close();
        });
        QtDialogs dialogs;
        dialogs.ask(&main, title, QStringLiteral(" 1個の文字列を置換しました。"),
                    Dialogs::Icon::Information, Dialogs::Buttons::Ok);
        QFont bold = QApplication::font();
        bold.setBold(true);
        // The title in a bold face, with room for the window's icon and three frame buttons of
        // two lines' height each (the box the text alone asks for is narrower).
        const QFontMetrics metrics(bold);
        QVERIFY2(width >= metrics.horizontalAdvance(title) + 4 * 2 * metrics.height(),
                 qPrintable(QString::number(width)));
    }
};

QTEST_MAIN(TestToolWindowPlace)
#include "tst_toolwindowplace.moc"
