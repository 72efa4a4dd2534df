#include "support/scripteddialogs.h"
#include "winsvc/appenv.h"
#include "winsvc/dialogs.h"
#include "winsvc/hourglass.h"
#include "winsvc/placement.h"
#include "winsvc/runningcopies.h"
#include "winsvc/twips.h"
#include "winsvc/wincolor.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QUrl>

using namespace quillo;

// Notes the addresses the desktop was asked to open.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

class PlatformTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void roundsHalfToEven_data();
    void roundsHalfToEven();
    void twipsAtScreenResolution();
    void dialogPositionOfMainWindowCorner();
    void hookMovesShownDialog();
    void hookInstallAndRemoveAreIdempotent();
    void hookRemovesItselfAfterLimit();
    void inactiveHookLeavesDialogsAlone();
    void qtOpenDialogIsPlaced();
    void windowSetPosKeepsGeometry();
    void colourValues_data();
    void colourValues();
    void colourBackToWindowsValue();
    void commandLine_data();
    void commandLine();
    void programFolderFollowsQuilloHome();
    void earlierSettingsAreTakenOver();
    void portableTreeKeepsFilesBeside();
    void waylandPrefersX11_data();
    void waylandPrefersX11();
    void japaneseFontNames_data();
    void japaneseFontNames();
    void runningCopiesCountsLiveOnes();
    void runningCopiesIgnoresCrashedCopy();
    void hourglassRestoresArrow();
    void webAddressWithoutBrowserIsNotFound();
    void executablePageByAddressIsShownNotRun();
    void tabbedMessageLinesUpColumns();
    void scriptedDialogsRecordAndAnswer();
    void scriptedDialogsFailOnUnscriptedPrompt();
};

void PlatformTest::roundsHalfToEven_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("rounded");
    QTest::newRow("0.5") << 0.5 << 0;
    QTest::newRow("1.5") << 1.5 << 2;
    QTest::newRow("2.5") << 2.5 << 2;
    QTest::newRow("-0.5") << -0.5 << 0;
    QTest::newRow("-1.5") << -1.5 << -2;
    QTest::newRow("206.67") << 3100.0 / 15 << 207;
    QTest::newRow("173.33") << 2600.0 / 15 << 173;
}

void PlatformTest::roundsHalfToEven() {
    QFETCH(double, value);
    QFETCH(int, rounded);
    QCOMPARE(roundHalfEven(value), rounded);
}

void PlatformTest::twipsAtScreenResolution() {
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchX();
    QCOMPARE(twipsPerPixel(), 1440.0 / dpi);
    // 10 twips per pixel puts whole halves on the boundary: 25 twips = 2.5 px -> 2.
    QCOMPARE(twipsToPixels(25, 10.0), 2);
    QCOMPARE(twipsToPixels(35, 10.0), 4);
    QCOMPARE(pixelsToTwips(200, 15.0), 3000);
    QCOMPARE(pixelsToTwips(twipsToPixels(3000)), 3000);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QCOMPARE(screenWidthTwips(), pixelsToTwips(screen.width()));
    QCOMPARE(screenHeightTwips(), pixelsToTwips(screen.height(), Qt::Vertical));
}

void PlatformTest::dialogPositionOfMainWindowCorner() {
    QCOMPARE(fileDialogPosition(QPoint(3000, 2000), 15.0, 15.0), QPoint(207, 173));
}

namespace {
// A main window at pixel (200, 133): 3000 x 1995 twips at 15 twips per pixel.
void showMainWindow(QWidget& main) {
    main.resize(400, 300);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    main.move(200, 133); // frame position, as the placement measures it
    QTRY_COMPARE(main.pos(), QPoint(200, 133));
}

QPoint expectedDialogPosition(const QWidget& main) {
    return fileDialogPosition(
        QPoint(pixelsToTwips(main.x()), pixelsToTwips(main.y(), Qt::Vertical)), twipsPerPixel(),
        twipsPerPixel(Qt::Vertical));
}
} // namespace

void PlatformTest::hookMovesShownDialog() {
    QWidget main;
    showMainWindow(main);
    FileDialogPlacementHook hook;
    QDialog dialog(&main);
    dialog.resize(320, 240);
    {
        FileDialogPlacement placement(hook, &main);
        QVERIFY(hook.isActive());
        dialog.show();
        QCOMPARE(hook.moveCount(), 1);
    }
    if (twipsPerPixel() == 15.0)
        QCOMPARE(dialog.pos(), QPoint(207, 173));
    QCOMPARE(dialog.pos(), expectedDialogPosition(main));
    QCOMPARE(dialog.size(), QSize(320, 240));
    QVERIFY(!hook.isActive());
    QVERIFY(hook.isRemoved());
    QCOMPARE(hook.moveCount(), 0);
}

void PlatformTest::hookInstallAndRemoveAreIdempotent() {
    QWidget main;
    showMainWindow(main);
    FileDialogPlacementHook hook;
    QVERIFY(!hook.isInstalled());
    QVERIFY(!hook.isRemoved());
    hook.remove(); // never installed: nothing to put back
    QVERIFY(!hook.isRemoved());

    hook.setTarget(&main);
    hook.setActive(true);
    hook.install();
    QDialog dialog(&main);
    dialog.show();
    QCOMPARE(hook.moveCount(), 1);
    hook.install(); // already installed: the counter is not reset
    QVERIFY(hook.isInstalled());
    QCOMPARE(hook.moveCount(), 1);

    hook.remove();
    QVERIFY(hook.isRemoved());
    QVERIFY(!hook.isInstalled());
    hook.remove();
    QVERIFY(hook.isRemoved());
    QVERIFY(!hook.isInstalled());

    // A removed hook moves nothing even while active.
    dialog.hide();
    dialog.move(5, 5);
    dialog.show();
    QCOMPARE(dialog.pos(), QPoint(5, 5));
}

void PlatformTest::hookRemovesItselfAfterLimit() {
    QWidget main;
    showMainWindow(main);
    FileDialogPlacementHook hook;
    FileDialogPlacement placement(hook, &main);
    QDialog dialog(&main);
    const QPoint placed = expectedDialogPosition(main);
    // The limit is written out: a limit of 99 leaves the 101st dialog unplaced, one of 101
    // keeps the hook after it.
    for (int i = 1; i <= 101; ++i) {
        dialog.move(5, 5);
        dialog.show();
        QCOMPARE(dialog.pos(), placed);
        dialog.hide();
    }
    // 101 windows moved: the next message takes the hook out and later dialogs stay put.
    QCoreApplication::processEvents();
    QVERIFY(hook.isRemoved());
    QCOMPARE(hook.moveCount(), 0);
    dialog.move(5, 5);
    dialog.show();
    QCOMPARE(dialog.pos(), QPoint(5, 5));
}

void PlatformTest::inactiveHookLeavesDialogsAlone() {
    QWidget main;
    showMainWindow(main);
    FileDialogPlacementHook hook;
    hook.setTarget(&main);
    hook.install();
    QDialog dialog(&main);
    dialog.move(5, 5);
    dialog.show();
    QCOMPARE(dialog.pos(), QPoint(5, 5));
    QCOMPARE(hook.moveCount(), 0);
}

void PlatformTest::qtOpenDialogIsPlaced() {
    QWidget main;
    showMainWindow(main);
    QtDialogs dialogs;
    QPoint shownAt;
    QString caption;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        QVERIFY(dialog);
        shownAt = dialog->pos();
        caption = dialog->windowTitle();
        QVERIFY(dialogs.placementHook().isInstalled());
        static_cast<QDialog*>(dialog)->reject();
    });
    const QString chosen =
        dialogs.openFileName(&main, "開く", QDir::tempPath(), "Quilloﾌｧｲﾙ (*.qzd)");
    QVERIFY(chosen.isEmpty()); // cancelled
    QCOMPARE(caption, "開く");
    QCOMPARE(shownAt, expectedDialogPosition(main));
    QVERIFY(dialogs.placementHook().isRemoved());
    QVERIFY(!dialogs.placementHook().isActive());
}

void PlatformTest::windowSetPosKeepsGeometry() {
    QWidget window;
    window.setGeometry(120, 80, 300, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QRect before = window.geometry();
    windowSetPos(&window, true);
    QVERIFY(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(window.isVisible());
    QCOMPARE(window.geometry(), before);
    windowSetPos(&window, false);
    QVERIFY(!window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(window.geometry(), before);
}

void PlatformTest::colourValues_data() {
    QTest::addColumn<quint32>("value");
    QTest::addColumn<QColor>("color");
    QPalette palette;
    palette.setColor(QPalette::Base, QColor(0x10, 0x20, 0x30));
    palette.setColor(QPalette::Text, QColor(0x11, 0x21, 0x31));
    palette.setColor(QPalette::Button, QColor(0x12, 0x22, 0x32));
    palette.setColor(QPalette::Mid, QColor(0x13, 0x23, 0x33));
    palette.setColor(QPalette::Light, QColor(0x14, 0x24, 0x34));
    palette.setColor(QPalette::Window, QColor(0x15, 0x25, 0x35));
    QApplication::setPalette(palette);
    QTest::newRow("red") << 0x000000FFu << QColor(255, 0, 0);
    QTest::newRow("blue") << 0x00FF0000u << QColor(0, 0, 255);
    QTest::newRow("mixed") << 0x00123456u << QColor(0x56, 0x34, 0x12);
    QTest::newRow("window") << 0x80000005u << QColor(0x10, 0x20, 0x30);
    QTest::newRow("window text") << 0x80000008u << QColor(0x11, 0x21, 0x31);
    QTest::newRow("button face") << 0x8000000Fu << QColor(0x12, 0x22, 0x32);
    QTest::newRow("button shadow") << 0x80000010u << QColor(0x13, 0x23, 0x33);
    QTest::newRow("3-D highlight") << 0x80000014u << QColor(0x14, 0x24, 0x34);
    QTest::newRow("unknown index") << 0x80000063u << QColor(0x15, 0x25, 0x35);
}

void PlatformTest::colourValues() {
    QFETCH(quint32, value);
    QFETCH(QColor, color);
    QCOMPARE(windowsColorToQColor(value), color);
}

void PlatformTest::colourBackToWindowsValue() {
    QCOMPARE(qColorToWindowsColor(QColor(0x56, 0x34, 0x12)), 0x00123456u);
    QCOMPARE(qColorToWindowsColor(QColor(255, 255, 255, 10)), 0x00FFFFFFu);
    QCOMPARE(qColorToWindowsColor(QColor::fromHsv(0, 255, 255)), 0x000000FFu);
}

void PlatformTest::commandLine_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("path");
    QTest::newRow("none") << QStringList() << QString();
    QTest::newRow("plain") << QStringList{"/tmp/a.qzd"} << "/tmp/a.qzd";
    QTest::newRow("quoted") << QStringList{"\"/tmp/a.qzd\""} << "/tmp/a.qzd";
    QTest::newRow("split by the shell")
        << QStringList{"\"/tmp/my", "help.qzd\""} << "/tmp/my help.qzd";
    QTest::newRow("two blanks become one")
        << QStringList{"/tmp/my", "", "help.qzd"} << "/tmp/my  help.qzd";
    QTest::newRow("only one quote each") << QStringList{"\"\"/a.qzd\"\""} << "\"/a.qzd\"";
    QTest::newRow("opening quote only") << QStringList{"\"/a.qzd"} << "/a.qzd";
}

void PlatformTest::commandLine() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, path);
    QCOMPARE(commandLinePath(arguments), path);
}

void PlatformTest::programFolderFollowsQuilloHome() {
    QTemporaryDir dir;
    qputenv("QUILLO_HOME", dir.path().toUtf8());
    QCOMPARE(settingsFolder(), dir.path());
    QCOMPARE(outputFolder(), dir.path());
    // A folder that does not exist yet is made, so the first run finds a place for its files.
    const QString fresh = dir.filePath(QStringLiteral("new/home"));
    qputenv("QUILLO_HOME", fresh.toUtf8());
    QCOMPARE(settingsFolder(), fresh);
    QVERIFY(QFileInfo(fresh).isDir());
    qunsetenv("QUILLO_HOME");
}

// The user's settings from the folder earlier versions used come along once; settings the
// user already has in the new folder are never replaced.
void PlatformTest::earlierSettingsAreTakenOver() {
    qunsetenv("QUILLO_HOME");
    const QString config =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/quillo32";
    const QString earlier =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/quillo32";
    QDir(config).removeRecursively();
    QVERIFY(QDir().mkpath(earlier));
    const auto write = [](const QString& path, const QByteArray& bytes) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    write(earlier + "/qzd32mk.ini", "old settings");
    write(earlier + "/qzd32mkf.ini", "old list");
    QCOMPARE(settingsFolder(), config);
    QFile taken(config + "/qzd32mk.ini");
    QVERIFY(taken.open(QIODevice::ReadOnly));
    QCOMPARE(taken.readAll(), QByteArray("old settings"));
    write(config + "/qzd32mkf.ini", "new list");
    settingsFolder();
    QFile kept(config + "/qzd32mkf.ini");
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("new list"));
    // Copied, not moved; and a folder named by QUILLO_HOME takes nothing over.
    QVERIFY(QFile::exists(earlier + "/qzd32mk.ini"));
    QTemporaryDir home;
    qputenv("QUILLO_HOME", home.path().toUtf8());
    settingsFolder();
    qunsetenv("QUILLO_HOME");
    QVERIFY(QDir(home.path()).isEmpty());
    QDir(earlier).removeRecursively();
}

void PlatformTest::portableTreeKeepsFilesBeside() {
    QTemporaryDir dir;
    const QString bin = dir.filePath(QStringLiteral("bin"));
    QVERIFY(QDir().mkpath(bin));
    QCOMPARE(portableFolder(bin), QString());
    QFile marker(bin + '/' + PortableMarkerName);
    QVERIFY(marker.open(QIODevice::WriteOnly));
    marker.close();
    QCOMPARE(portableFolder(bin), bin);
    QCOMPARE(portableFolder(QString()), QString());
    // A build tree carries the marker beside its programs.
    QVERIFY(QFile::exists(QStringLiteral(QUILLO_BIN_DIR "/") + PortableMarkerName));
    // A portable tree this user may not write keeps nothing beside it (root writes anywhere).
    QVERIFY(QFile::setPermissions(bin, QFile::ReadOwner | QFile::ExeOwner));
    const bool writable = QFileInfo(bin).isWritable();
    QCOMPARE(portableFolder(bin), writable ? bin : QString());
    QVERIFY(QFile::setPermissions(bin, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

void PlatformTest::waylandPrefersX11_data() {
    QTest::addColumn<QStringList>("variables");
    QTest::addColumn<QByteArray>("platform");
    QTest::newRow("wayland with xwayland")
        << QStringList{"XDG_SESSION_TYPE=wayland", "DISPLAY=:0"} << QByteArray("xcb");
    QTest::newRow("wayland display only")
        << QStringList{"WAYLAND_DISPLAY=wayland-0", "DISPLAY=:1"} << QByteArray("xcb");
    QTest::newRow("user's choice wins")
        << QStringList{"XDG_SESSION_TYPE=wayland", "DISPLAY=:0", "QT_QPA_PLATFORM=wayland"}
        << QByteArray();
    QTest::newRow("no xwayland") << QStringList{"XDG_SESSION_TYPE=wayland"} << QByteArray();
    QTest::newRow("x11") << QStringList{"XDG_SESSION_TYPE=x11", "DISPLAY=:0"} << QByteArray();
}

void PlatformTest::waylandPrefersX11() {
    QFETCH(QStringList, variables);
    QFETCH(QByteArray, platform);
    QProcessEnvironment environment;
    for (const QString& variable : variables)
        environment.insert(variable.section('=', 0, 0), variable.section('=', 1));
    QCOMPARE(platformOverride(environment), platform);
}

void PlatformTest::japaneseFontNames_data() {
    QTest::addColumn<QString>("windowsName");
    QTest::addColumn<QString>("family");
    QTest::newRow("MS P Gothic") << "ＭＳ Ｐゴシック"
                                 << "IPAPGothic";
    QTest::newRow("MS Gothic") << "ＭＳ ゴシック"
                               << "IPAGothic";
    QTest::newRow("MS P Mincho") << "ＭＳ Ｐ明朝"
                                 << "IPAPMincho";
    QTest::newRow("MS Mincho") << "ＭＳ 明朝"
                               << "IPAMincho";
    QTest::newRow("MS PGothic") << "MS PGothic"
                                << "IPAPGothic";
    QTest::newRow("MS Mincho roman") << "MS Mincho"
                                     << "IPAMincho";
    QTest::newRow("MS UI Gothic") << "MS UI Gothic"
                                  << "IPAPGothic";
}

void PlatformTest::japaneseFontNames() {
    QFETCH(QString, windowsName);
    QFETCH(QString, family);
    installJapaneseFontSubstitutions();
    if (!QFontDatabase::hasFamily(family))
        QSKIP("IPA fonts not installed");
    QCOMPARE(QFontInfo(QFont(windowsName)).family(), family);
    // Every Windows name the font lists offer draws in an IPA face.
    for (const QString& offered : windowsJapaneseFontNames())
        QVERIFY2(QFontInfo(QFont(offered)).family().startsWith(QLatin1String("IPA")),
                 qPrintable(offered));
}

void PlatformTest::runningCopiesCountsLiveOnes() {
    QTemporaryDir dir;
    RunningCopies first("qzd32mk", dir.path());
    RunningCopies second("qzd32mk", dir.path());
    QCOMPARE(first.count(), 0);
    QVERIFY(first.registerCopy());
    QCOMPARE(first.count(), 1);
    QVERIFY(second.registerCopy());
    QCOMPARE(first.count(), 2);
    QCOMPARE(second.count(), 2);
    second.unregisterCopy();
    QCOMPARE(first.count(), 1);
    QCOMPARE(second.count(), 1);
}

void PlatformTest::runningCopiesIgnoresCrashedCopy() {
    QTemporaryDir dir;
    // The pid of a process that is gone, as a copy that crashed leaves it in its lock.
    QProcess child;
    child.start("sleep", {"30"});
    QVERIFY(child.waitForStarted());
    const qint64 deadPid = child.processId();
    child.kill();
    QVERIFY(child.waitForFinished());
    for (int slot : {1, 3}) {
        QFile lock(QStringLiteral("%1/qzd32mk-%2.lock").arg(dir.path()).arg(slot));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write(QByteArray::number(deadPid) + "\nqzd32mk\n" +
                   QSysInfo::machineHostName().toUtf8() + "\n");
    }
    RunningCopies copy("qzd32mk", dir.path());
    QVERIFY(copy.registerCopy());
    QCOMPARE(copy.count(), 1);
    RunningCopies other("qzd32mk", dir.path());
    QCOMPARE(other.count(), 1);
}

void PlatformTest::hourglassRestoresArrow() {
    {
        Hourglass hourglass;
        QVERIFY(QApplication::overrideCursor());
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        hourglass.release();
        QVERIFY(!QApplication::overrideCursor());
    }
    QVERIFY(!QApplication::overrideCursor());
    { Hourglass hourglass; }
    QVERIFY(!QApplication::overrideCursor());
}

// Without any browser on the system, opening a web address is reported as "not found".
void PlatformTest::webAddressWithoutBrowserIsNotFound() {
    QTemporaryDir empty;
    const QByteArray path = qgetenv("PATH");
    const QByteArray browser = qgetenv("BROWSER");
    qputenv("PATH", empty.path().toLocal8Bit());
    qunsetenv("BROWSER");
    QtDialogs dialogs;
    const int result = dialogs.shellOpen(QStringLiteral("https://quillo32.example.org/"));
    qputenv("PATH", path);
    if (!browser.isNull())
        qputenv("BROWSER", browser);
    QCOMPARE(result, Dialogs::ShellFileNotFound);
}

// An HTML page that carries execute bits, given as a file:// address, goes to the desktop's
// handler of such addresses (here a stand-in that notes what it was given) and is never
// started itself.
void PlatformTest::executablePageByAddressIsShownNotRun() {
    QTemporaryDir dir;
    const QString ran = dir.filePath(QStringLiteral("ran.txt"));
    QFile page(dir.filePath(QStringLiteral("site_index.htm")));
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.write("#!/bin/sh\ntouch '" + ran.toUtf8() + "'\n<html></html>\n");
    page.close();
    QVERIFY(page.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                QFile::ReadUser | QFile::ExeUser));
    UrlRecorder handler;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &handler, "open");
    QtDialogs dialogs;
    const QString address = QUrl::fromLocalFile(page.fileName()).toString();
    const int result = dialogs.shellOpen(address);
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QCOMPARE(result, Dialogs::ShellOpenOk);
    QCOMPARE(handler.opened, QList<QUrl>{QUrl(address)});
    QVERIFY(!QFile::exists(ran));
}

// The texts after the tabs of a message start in one column, whatever the widths of the
// labels before them; other text is escaped, and text without a tab is left alone.
void PlatformTest::tabbedMessageLinesUpColumns() {
    const QString text = QStringLiteral("\nQuillo32Maker  Ver2.02  \nコンピュータ名\tPC-1\n"
                                        "ユーザー名  \t<user>");
    QTextDocument doc;
    doc.setHtml(alignedMessageMarkup(text));
    const QTextCursor computer = doc.find(QStringLiteral("PC-1"));
    const QTextCursor user = doc.find(QStringLiteral("<user>"));
    QVERIFY(!computer.isNull() && !user.isNull());
    QAbstractTextDocumentLayout* layout = doc.documentLayout();
    QCOMPARE(layout->blockBoundingRect(computer.block()).x(),
             layout->blockBoundingRect(user.block()).x());
    QVERIFY(layout->blockBoundingRect(computer.block()).y() <
            layout->blockBoundingRect(user.block()).y());
    QVERIFY(!doc.find(QStringLiteral("Quillo32Maker  Ver2.02")).isNull());
    QVERIFY(alignedMessageMarkup(QStringLiteral("a <b>\nc")).isEmpty());
}

void PlatformTest::scriptedDialogsRecordAndAnswer() {
    test::ScriptedDialogs dialogs;
    dialogs.answerNext(Dialogs::Answer::No);
    dialogs.chooseFileNext("/tmp/x.qzd");
    QCOMPARE(dialogs.ask(nullptr, "qzd32 開く", "保存しますか？", Dialogs::Icon::Information,
                         Dialogs::Buttons::YesNoCancel),
             Dialogs::Answer::No);
    QCOMPARE(dialogs.openFileName(nullptr, "開く", "/tmp", "Quilloﾌｧｲﾙ (*.qzd)"), "/tmp/x.qzd");
    dialogs.setShellOpenResult(Dialogs::ShellFileNotFound);
    QCOMPARE(dialogs.shellOpen("/nowhere/qzd32", {"/nowhere/qzd32.qzd"}),
             Dialogs::ShellFileNotFound);
    QVERIFY(dialogs.scriptDone());
    QCOMPARE(dialogs.unexpectedCount(), 0);
    QCOMPARE(dialogs.calls().size(), 3);
    const auto message = dialogs.messages().value(0);
    QCOMPARE(message.title, "qzd32 開く");
    QCOMPARE(message.text, "保存しますか？");
    QCOMPARE(message.buttons, Dialogs::Buttons::YesNoCancel);
    QCOMPARE(dialogs.calls().at(1).filter, "Quilloﾌｧｲﾙ (*.qzd)");
    QCOMPARE(dialogs.calls().at(2).arguments, QStringList{"/nowhere/qzd32.qzd"});
}

void PlatformTest::scriptedDialogsFailOnUnscriptedPrompt() {
    test::ScriptedDialogs dialogs;
    dialogs.chooseFileNext("/tmp/x.qzd");
    QEXPECT_FAIL("", "a message box the test did not script fails the test", Continue);
    const auto answer = dialogs.ask(nullptr, "qzd32 ", "予期しない", Dialogs::Icon::Warning,
                                    Dialogs::Buttons::YesNo);
    QCOMPARE(answer, Dialogs::Answer::Cancel);
    QCOMPARE(dialogs.unexpectedCount(), 1);
    QVERIFY(!dialogs.messages().value(0).scripted);
    QVERIFY(!dialogs.scriptDone()); // the file reply is still waiting for its dialog
}

QTEST_MAIN(PlatformTest)
#include "tst_platform.moc"
