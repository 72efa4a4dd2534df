#include "viewer/displaysettingstracker.h"
#include "viewer/viewerlayout.h"
#include "viewer/viewertexts.h"

#include <QStandardPaths>
#include <QTest>

using namespace quillo;
using namespace quillo::viewer;

Q_DECLARE_METATYPE(quillo::viewer::WindowRect)
Q_DECLARE_METATYPE(quillo::FrameMargins)

namespace {
constexpr int ScreenW = 19200;
constexpr int ScreenH = 14400;

DisplaySettings settingsWith(const WindowRect& r) {
    DisplaySettings s;
    storeWindowRect(s, r);
    return s;
}
} // namespace

class TestViewerLayout : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void viewerPlacement_data() {
        QTest::addColumn<WindowRect>("saved");
        QTest::addColumn<WindowRect>("expected");
        QTest::addColumn<bool>("defaults");
        const WindowRect inside{1000, 2000, 6000, 8000};
        QTest::newRow("inside") << inside << inside << false;
        QTest::newRow("touching edges")
            << WindowRect{0, 0, ScreenH, ScreenW} << WindowRect{0, 0, ScreenH, ScreenW} << false;
        QTest::newRow("below bottom")
            << WindowRect{9000, 200, 6000, 8000} << DefaultWindowRect << true;
        QTest::newRow("past right")
            << WindowRect{200, 12000, 6000, 8000} << DefaultWindowRect << true;
        QTest::newRow("negative top")
            << WindowRect{-15, 200, 6000, 8000} << DefaultWindowRect << true;
        QTest::newRow("negative left")
            << WindowRect{200, -30, 6000, 8000} << DefaultWindowRect << true;
        QTest::newRow("no size saved") << WindowRect{300, 300, 0, 0} << DefaultWindowRect << true;
        // A size that cannot show the window's controls is broken, not a place to keep.
        QTest::newRow("only width saved")
            << WindowRect{300, 300, 0, 5000} << DefaultWindowRect << true;
        QTest::newRow("negative height")
            << WindowRect{300, 300, -500, 5000} << DefaultWindowRect << true;
        QTest::newRow("height below 1800")
            << WindowRect{300, 300, 1799, 5000} << DefaultWindowRect << true;
        QTest::newRow("height 1800")
            << WindowRect{300, 300, 1800, 5000} << WindowRect{300, 300, 1800, 5000} << false;
        QTest::newRow("width below 2700")
            << WindowRect{300, 300, 5000, 2699} << DefaultWindowRect << true;
        QTest::newRow("width 2700")
            << WindowRect{300, 300, 5000, 2700} << WindowRect{300, 300, 5000, 2700} << false;
    }
    void viewerPlacement() {
        QFETCH(WindowRect, saved);
        QFETCH(WindowRect, expected);
        QFETCH(bool, defaults);
        const CheckedPlacement p = checkedViewerPlacement(settingsWith(saved), ScreenW, ScreenH);
        QCOMPARE(p.rect, expected);
        QCOMPARE(p.usedDefaults, defaults);
    }

    void previewPlacement_data() {
        QTest::addColumn<WindowRect>("saved");
        QTest::addColumn<WindowRect>("expected");
        QTest::newRow("inside") << WindowRect{100, 100, 5000, 6000}
                                << WindowRect{100, 100, 5000, 6000};
        QTest::newRow("too tall is shrunk")
            << WindowRect{10000, 100, 6000, 6000} << WindowRect{10000, 100, 4400, 6000};
        QTest::newRow("too wide is shrunk")
            << WindowRect{100, 15000, 6000, 6000} << WindowRect{100, 15000, 6000, 4200};
        QTest::newRow("negative corner moves to 0")
            << WindowRect{-300, -600, 6000, 6000} << WindowRect{0, 0, 6000, 6000};
        QTest::newRow("zero height uses defaults")
            << WindowRect{100, 100, 0, 6000} << DefaultWindowRect;
        QTest::newRow("negative width uses defaults")
            << WindowRect{100, 100, 6000, -20} << DefaultWindowRect;
    }
    void previewPlacement() {
        QFETCH(WindowRect, saved);
        QFETCH(WindowRect, expected);
        QCOMPARE(checkedPreviewPlacement(settingsWith(saved), ScreenW, ScreenH).rect, expected);
    }

    // With a window manager's frame (1 pixel at the sides, 20 above, 5 below, in twips) the
    // whole frame must lie on the screen: the viewer falls back to the defaults for a window
    // whose client area fits but whose frame does not, and the preview shrinks the client
    // area by what the frame takes.
    void framedPlacement_data() {
        QTest::addColumn<bool>("preview");
        QTest::addColumn<WindowRect>("saved");
        QTest::addColumn<WindowRect>("expected");
        QTest::newRow("viewer, frame fits")
            << false << WindowRect{200, 200, 13800, 8000} << WindowRect{200, 200, 13800, 8000};
        QTest::newRow("viewer, frame below the screen")
            << false << WindowRect{200, 200, 14000, 8000} << DefaultWindowRect;
        QTest::newRow("viewer, frame past the right edge")
            << false << WindowRect{200, 11000, 6000, 8200} << DefaultWindowRect;
        QTest::newRow("preview, frame fits")
            << true << WindowRect{100, 100, 5000, 6000} << WindowRect{100, 100, 5000, 6000};
        QTest::newRow("preview, too tall")
            << true << WindowRect{10000, 100, 6000, 6000} << WindowRect{10000, 100, 4025, 6000};
        QTest::newRow("preview, too wide")
            << true << WindowRect{100, 15000, 6000, 6000} << WindowRect{100, 15000, 6000, 4170};
    }
    void framedPlacement() {
        QFETCH(bool, preview);
        QFETCH(WindowRect, saved);
        QFETCH(WindowRect, expected);
        const FrameMargins frame{15, 300, 15, 75};
        const DisplaySettings s = settingsWith(saved);
        const CheckedPlacement p = preview ? checkedPreviewPlacement(s, ScreenW, ScreenH, frame)
                                           : checkedViewerPlacement(s, ScreenW, ScreenH, frame);
        QCOMPARE(p.rect, expected);
    }

    void layoutFollowsListWidth() {
        const ClientLayout l = layoutFor(QSize(9000, 6000), 0);
        QCOMPARE(l.tab, QRect(30, 540, 8975, 5430));
        QCOMPARE(l.contentsList.width(), DefaultListWidth);
        QCOMPARE(l.contentsList.height(), 5430 - 420);
        QCOMPARE(l.pageText.left(), DefaultListWidth + 370);
        QCOMPARE(l.pageText.width(), 8975 - (DefaultListWidth + 370) - 80);
        QCOMPARE(l.pageText.height(), 5430 - 600);
        QCOMPARE(l.panel.left(), l.pageText.left() - 200);
        QCOMPARE(l.panel.width(), l.pageText.width() + 230);
        QCOMPARE(l.panel.height(), l.pageText.height() + 120);
        // Widening the list moves the panel by as much and narrows it by as much.
        const ClientLayout wider = layoutFor(QSize(9000, 6000), 2600);
        QCOMPARE(wider.panel.left() - l.panel.left(), 600);
        QCOMPARE(l.panel.width() - wider.panel.width(), 600);
    }

    void dividerLimits_data() {
        QTest::addColumn<int>("delta");
        QTest::addColumn<bool>("accepted");
        // list 1000, panel 2000: the list may shrink by 700 and grow by 1700.
        QTest::newRow("list at 300") << -700 << true;
        QTest::newRow("list below 300") << -701 << false;
        QTest::newRow("panel at 300") << 1700 << true;
        QTest::newRow("panel below 300") << 1701 << false;
    }
    void dividerLimits() {
        QFETCH(int, delta);
        QFETCH(bool, accepted);
        QCOMPARE(dividerMoveAccepted(1000, 2000, delta), accepted);
    }

    void heightAndPixels() {
        QCOMPARE(roundedDownHeight(6500), 6480);
        QCOMPARE(roundedDownHeight(6480), 6480);
        QCOMPARE(roundedDownHeight(179), 0);
        // A saved value that shows as the same pixels survives; another becomes the pixels'.
        QCOMPARE(twipsKeeping(433, 6500, 15.0), 6500);
        QCOMPARE(twipsKeeping(432, 6500, 15.0), 6480);
    }

    // What closing writes back: only a change from what was loaded counts.
    void trackerTellsChanges_data() {
        QTest::addColumn<int>("topmost");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<bool>("changed");
        QTest::newRow("nothing done") << 0 << QString() << false;
        QTest::newRow("moved") << 0 << QStringLiteral("normal 1515") << true;
        QTest::newRow("moved back") << 0 << QStringLiteral("normal 1515,normal 1500") << false;
        QTest::newRow("list width") << 0 << QStringLiteral("close 2100") << true;
        QTest::newRow("maximised") << 0 << QStringLiteral("max") << true;
        QTest::newRow("maximised while in front") << 1 << QStringLiteral("max") << false;
        // The desktop told the maximised size first: the size before it is kept.
        QTest::newRow("maximised size told first")
            << 0 << QStringLiteral("normal 0,maxat 0,max") << true;
    }
    void trackerTellsChanges() {
        QFETCH(int, topmost);
        QFETCH(QString, steps);
        QFETCH(bool, changed);
        DisplaySettings s;
        storeWindowRect(s, {1500, 1500, 5400, 7500});
        s.listWidth = 2000;
        s.topmost = qint16(topmost);
        DisplaySettingsTracker tracker(s);
        tracker.loaded({1500, 1500, 5400, 7500});
        for (const QString& step : steps.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const QStringList w = step.split(QLatin1Char(' '));
            if (w[0] == QLatin1String("normal"))
                tracker.recordNormal({w[1].toInt(), 1500, 5400, 7500});
            else if (w[0] == QLatin1String("close"))
                tracker.closing({1500, 1500, 5400, 7500}, w[1].toInt());
            else if (w[0] == QLatin1String("max"))
                tracker.recordMaximised();
            else if (w[0] == QLatin1String("maxat"))
                tracker.maximisedAt({w[1].toInt(), 1500, 5400, 7500});
        }
        QCOMPARE(tracker.changedSinceLoad(), changed);
        if (steps.contains(QLatin1String("maxat")))
            QCOMPARE(s.windowTop, 1500);
    }

    void titlesAndMessages() {
        QCOMPARE(windowTitle(Variant::Viewer, QStringLiteral("guide.qzd"), 3, 12),
                 QStringLiteral("Quillo  guide.qzd Page 3 / 12"));
        QCOMPARE(windowTitle(Variant::Preview, QString(), 2, 5),
                 QStringLiteral("Quillo32Maker_Preview   Page 2 / 5"));
        QCOMPARE(dropTooLongTitle(), QStringLiteral("qzd32 検索（最大 32文字）"));
        QCOMPARE(dropTooLongQuestion(7),
                 QStringLiteral("選択テキストが長すぎます。先頭文字列 7文字を挿入します。"));
    }
};

QTEST_MAIN(TestViewerLayout)
#include "tst_viewerlayout.moc"
