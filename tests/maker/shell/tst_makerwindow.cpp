#include "core/filelock.h"
#include "core/helpfile.h"
#include "core/text.h"
#include "maker/common/recentfiles.h"
#include "maker/common/settingsfile.h"
#include "maker/common/shelltexts.h"
#include "maker/entries/companionwindows.h"
#include "maker/shell/mainwindow.h"
#include "maker/shell/shelllogic.h"
#include "support/makerfixture.h"
#include "support/scripteddialogs.h"
#include "viewer/viewerwindow.h"
#include "winsvc/richtextcontrol.h"
#include "winsvc/twips.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quillo;
using namespace quillo::maker;
using test::ScriptedDialogs;
using Answer = Dialogs::Answer;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// A help file of `pages` pages whose first page carries `text`.
void writeHelpFile(const QString& path, int pages, const QByteArray& text = "{\\rtf1 x\\par}") {
    auto doc = std::make_unique<HelpDocument>();
    doc->pages.resize(pages);
    for (int p = 1; p <= pages; ++p)
        doc->page(p).rtf = text;
    doc->page(1).title = QStringLiteral("はじめに");
    QVERIFY(saveHelpFile(path, *doc).ok());
}

QStringList recentCaptions(const MakerMainWindow& window) {
    QStringList captions;
    for (QAction* a : window.findChildren<QAction*>(QStringLiteral("qzd32mk_FileArray"))) {
        if (a->data().toInt() > 0 && a->isVisible())
            captions << a->text().replace(QStringLiteral("&&"), QStringLiteral("&"));
    }
    return captions;
}

// Entry k (1..8) of the recent list in the File menu.
QAction* recentEntry(const MakerMainWindow& window, int k) {
    for (QAction* a : window.findChildren<QAction*>(QStringLiteral("qzd32mk_FileArray"))) {
        if (a->data().toInt() == k && a->isVisible())
            return a;
    }
    return nullptr;
}

void setReadOnly(const QString& path) {
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
}

} // namespace

class TestMakerWindow : public QObject {
    Q_OBJECT

    MakerFixture f;

    void expectMessage(int index, const QString& title, const QString& text) {
        const QList<ScriptedDialogs::Call> messages = f.dialogs().messages();
        QVERIFY(index < messages.size());
        QCOMPARE(messages[index].title, title);
        QCOMPARE(messages[index].text, text);
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init() { f.setUp(); }
    void cleanup() { f.tearDown(); }

    // The window as it starts: the check items, the title and both companion windows. The
    // menus themselves are checked by menuItems.
    void startUpState() {
        MakerMainWindow* w = f.start();
        QVERIFY(w);
        QVERIFY(
            w->findChild<QAction*>(QStringLiteral("qzd32mk_html_option_par_ON"))->isCheckable());
        QVERIFY(w->findChild<QAction*>(QStringLiteral("qzd32mk_preview_index"))->isChecked());
        QVERIFY(w->findChild<QAction*>(QStringLiteral("qzd32mk_preview_key"))->isChecked());
        QCOMPARE(w->windowTitle(), QStringLiteral("Quillo32Maker  新規ファイル Page 1 / 1"));
        QVERIFY(w->contentsWindow()->isVisible());
        QVERIFY(w->keywordWindow()->isVisible());
        QVERIFY(w->close());
    }

    // Text typed right after start-up carries the same font, size and format as text
    // typed into a document made with 新規ﾌｧｲﾙ(N).
    void startUpDocumentIsANewOne() {
        MakerMainWindow* w = f.start();
        QVERIFY(w);
        QCOMPARE(w->findChild<QComboBox*>(QStringLiteral("Combo2"))->currentText(),
                 QStringLiteral("9"));
        MakerFixture::type(w, QStringLiteral("本文"));
        const QByteArray atStart = w->editor()->rtf();
        QVERIFY(!atStart.contains("Sans Serif"));
        QVERIFY(atStart.contains("\\fs18"));
        f.dialogs().answerNext(Answer::No);
        MakerFixture::trigger(w, "qzd32mk_file_new");
        MakerFixture::type(w, QStringLiteral("本文"));
        QCOMPARE(w->editor()->rtf(), atStart);
    }

    // The font box lists each family once by its plain name, without the generic aliases,
    // and a family chosen from it is written into the page by that name.
    void fontListShowsPlainFamilies() {
        MakerMainWindow* w =
            f.makeWindow({QStringLiteral("Nimbus Sans [urw]"), QStringLiteral("C059 [UKWN]"),
                          QStringLiteral("Sans Serif"), QStringLiteral("nimbus Mono"),
                          QStringLiteral("Nimbus Sans [UKWN]"), QStringLiteral("Serif"),
                          QStringLiteral("Monospace"), QStringLiteral("IPAPGothic"),
                          QStringLiteral("C059 [urw]")});
        QVERIFY(w->startUp({}));
        auto* fonts = w->findChild<QComboBox*>(QStringLiteral("Combo1"));
        QStringList names;
        for (int i = 0; i < fonts->count(); ++i)
            names << fonts->itemText(i);
        QCOMPARE(names,
                 (QStringList{QStringLiteral("C059"), QStringLiteral("IPAPGothic"),
                              QStringLiteral("nimbus Mono"), QStringLiteral("Nimbus Sans")}));
        MakerFixture::type(w, QStringLiteral("abc"));
        w->editor()->select(0, 3);
        emit fonts->activated(fonts->findText(QStringLiteral("Nimbus Sans")));
        const QByteArray rtf = w->editor()->rtf();
        QVERIFY(rtf.contains("Nimbus Sans;"));
        QVERIFY(!rtf.contains('['));
    }

    // Every menu of the window: its caption and its items in order, each as name, caption
    // ("-" for a separator line) and shortcut; a submenu's items follow in braces.
    void menuItems_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("file") << "qzd32mk_file"
                              << "ﾌｧｲﾙ(F)"
                              << QStringList{"qzd32mk_file_new 新規ﾌｧｲﾙ(N) Ctrl+N",
                                             "qzd32mk_file_open 開く(O) Ctrl+O",
                                             "qzd32mk_file_dumy1 -",
                                             "qzd32mk_file_save 上書き保存(S) Ctrl+S",
                                             "qzd32mk_file_save_rename 名前を付けて保存(A)",
                                             "qzd32mk_file_dumy2 -",
                                             "qzd32mk_FileArray -",
                                             "qzd32mk_file_dumy4 -",
                                             "qzd32mk_file_end Quillo32Maker終了(X)"};
        QTest::newRow("edit") << "qzd32mk_edit"
                              << "編集(E)"
                              << QStringList{"qzd32mk_undo 元に戻す(U)",
                                             "qzd32mk_copy ｺﾋﾟｰ(C)",
                                             "qzd32mk_cut 切取り(X)",
                                             "qzd32mk_paist 貼付け(P)",
                                             "qzd32mk_delete 削除(D)",
                                             "qzd32mk_all_select すべての範囲を選択(A) Ctrl+A",
                                             "qzd32mk_edit_dumy1 -",
                                             "qzd32mk_image_set ｲﾒｰｼﾞ埋め込み(G) Ctrl+G",
                                             "qzd32mk_index_set 目次追加(I)",
                                             "qzd32mk_key_set ｷｰ追加(K)",
                                             "qzd32mk_link_set ﾘﾝｸ設定(L)... Ctrl+K",
                                             "qzd32mk_link_clear ﾘﾝｸ解除(Q)",
                                             "qzd32mk_edit_dumy2 -",
                                             "qzd32mk_search_shori 検索(F) Ctrl+F",
                                             "qzd32mk_chikan_shori 置換(E) Ctrl+H",
                                             "qzd32mk_edit_dumy3 -",
                                             "qzd32mk_color_moji 文字ｶﾗｰ設定(FC)",
                                             "qzd32mk_color_back 背景ｶﾗｰ設定(BC)"};
        QTest::newRow("pages") << "qzd32mk_page_edit"
                               << "ﾍﾟｰｼﾞ編集(PE)"
                               << QStringList{"qzd32mk_Next_Page 次ﾍﾟｰｼﾞへ(N)",
                                              "qzd32mk_Return_Page 前ﾍﾟｰｼﾞへ(R)",
                                              "qzd32mk_pedit_dumy1 -",
                                              "qzd32mk_new_Page 新規ﾍﾟｰｼﾞ(PN)",
                                              "qzd32mk_insert_Page ﾍﾟｰｼﾞ挿入(PI)",
                                              "qzd32mk_delete_Page ﾍﾟｰｼﾞ削除(PD)",
                                              "qzd32mk_pedit_dumy2 -",
                                              "qzd32mk_undo_Page 元に戻す<頁編集>(PU)"};
        QTest::newRow("preview") << "qzd32mk_preview"
                                 << "ﾌﾟﾚﾋﾞｭｰ(V)"
                                 << QStringList{"qzd32mk_preview_help qzdﾌﾟﾚﾋﾞｭｰ(V)",
                                                "qzd32mk_preview_Dumy1 -",
                                                "qzd32mk_preview_index 目次表示(I)",
                                                "qzd32mk_preview_key ｷｰﾜｰﾄﾞ表示(K)"};
        QTest::newRow("html") << "qzd32mk_html"
                              << "HTML(H)"
                              << QStringList{"qzd32mk_html_make HTMLﾌｧｲﾙ作成(H)",
                                             "{",
                                             "qzd32mk_html_make_sellect 表示ページのみ作成(SG)",
                                             "qzd32mk_html_make_all 全ページ作成(AG)",
                                             "}",
                                             "qzd32mk_html_make_web Webﾍﾙﾌﾟ作成(W)",
                                             "qzd32mk_html_option ｵﾌﾟｼｮﾝ設定(O)",
                                             "{",
                                             "qzd32mk_html_option_par_ON ｲﾝﾃﾞﾝﾄ有効",
                                             "}",
                                             "qzd32mk_html_view ﾌﾞﾗｳｻﾞによるﾌﾟﾚﾋﾞｭｰ(V)"};
        QTest::newRow("help") << "qzd32mk_help"
                              << "ﾍﾙﾌﾟ(H)"
                              << QStringList{"qzd32mk_help_quick1 qzdﾌｧｲﾙ作成手順(EH)",
                                             "qzd32mk_help_quick2 ﾌﾞﾗｳｻﾞﾍﾙﾌﾟ作成手順(BH)",
                                             "qzd32mk_help_view ﾍﾙﾌﾟ(H)",
                                             "qzd32mk_www_view Mr.Vornｻｲﾄへ接続(C)",
                                             "qzd32mk_version ﾊﾞｰｼﾞｮﾝ情報(A)"};
    }
    void menuItems() {
        QFETCH(QString, menu);
        QFETCH(QString, caption);
        QFETCH(QStringList, items);
        MakerMainWindow* w = f.start();
        QVERIFY(w);
        const auto shown = [](const QMenu* m, QStringList& out, const auto& self) -> void {
            for (QAction* a : m->actions()) {
                if (a->data().toInt() > 0) // recent-list entries, made as the list needs them
                    continue;
                QString line = a->objectName() + ' ' +
                               (a->isSeparator() ? QStringLiteral("-") : a->text().remove('&'));
                if (!a->shortcut().isEmpty())
                    line += ' ' + a->shortcut().toString();
                out << line;
                if (a->menu()) {
                    out << QStringLiteral("{");
                    self(a->menu(), out, self);
                    out << QStringLiteral("}");
                }
            }
        };
        const QMenu* m = w->findChild<QMenu*>(menu);
        QVERIFY(m);
        QCOMPARE(m->title().remove('&'), caption);
        QStringList actual;
        shown(m, actual, shown);
        QCOMPARE(actual, items);
        QVERIFY(w->close());
    }

    // An empty document's lists show the placeholder line of its one page, at start-up and
    // after 新規ﾌｧｲﾙ replaced a document with entries.
    void emptyDocumentListsShowPageOne_data() {
        QTest::addColumn<bool>("afterNewFile");
        QTest::newRow("start-up") << false;
        QTest::newRow("new file") << true;
    }
    void emptyDocumentListsShowPageOne() {
        QFETCH(bool, afterNewFile);
        const QString path = f.file("doc.qzd");
        writeHelpFile(path, 3);
        MakerMainWindow* w = f.start(afterNewFile ? path : QString());
        QVERIFY(w);
        if (afterNewFile)
            MakerFixture::trigger(w, "qzd32mk_file_new");
        for (CompanionWindow* window : {static_cast<CompanionWindow*>(w->contentsWindow()),
                                        static_cast<CompanionWindow*>(w->keywordWindow())}) {
            QCOMPARE(window->list()->count(), 1);
            QCOMPARE(window->list()->item(0)->text(), QStringLiteral("p 1  "));
        }
        QVERIFY(w->close());
    }

    void noSettingsFileStartsSilentlyAndWritesAtExit() {
        MakerMainWindow* w = f.start();
        QVERIFY(w);
        QVERIFY(f.dialogs().calls().isEmpty());
        QVERIFY(QFile::exists(f.recentIni())); // made empty at start
        QVERIFY(!QFile::exists(f.ini()));
        QVERIFY(w->close());
        QCOMPARE(readAll(f.ini()), serializeSettings(MakerSettings(), false));
        QCOMPARE(readAll(f.recentIni()), QByteArray());
    }

    void unchangedSettingsAreNotRewritten() {
        writeAll(f.ini(), serializeSettings(MakerSettings(), true));
        QVERIFY(QFile::setPermissions(f.ini(), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        const QDateTime before = QFileInfo(f.ini()).lastModified();
        MakerMainWindow* w = f.start();
        QVERIFY(w->findChild<QAction*>(QStringLiteral("qzd32mk_html_option_par_ON"))->isChecked());
        QVERIFY(w->close());
        QCOMPARE(QFileInfo(f.ini()).lastModified(), before);
    }

    void unreadableFieldWarnsAndUsesDefaults() {
        MakerSettings custom;
        custom.main = {400, 500, 6000, 8000};
        QByteArray text = serializeSettings(custom, false);
        text.replace("<qzd32mkSearch>\r\n 1500", "<qzd32mkSearch>\r\nabc");
        writeAll(f.ini(), text);
        f.dialogs().answerNext(Answer::Ok);
        MakerMainWindow* w = f.start();
        expectMessage(0, QStringLiteral("qzd32Maker 設定環境ﾌｧｲﾙ読込み"),
                      QStringLiteral("ユーザ設定環境ファイル qzd32mk.ini 読込みに失敗しました。\n"
                                     "デフォルト環境にて起動します。"));
        QCOMPARE(w->normalGeometry(), MakerSettings().main);
        QVERIFY(w->close());
        QCOMPARE(readAll(f.ini()), serializeSettings(MakerSettings(), false));
    }

    void maximisedExitWritesNormalGeometry() {
        MakerMainWindow* w = f.start();
        w->resize(500, 400);
        const TwipsRect normal = w->normalGeometry();
        QCOMPARE(normal.width, 500 * 1440 / w->logicalDpiX());
        w->showMaximized();
        QTRY_VERIFY(w->isMaximized());
        QVERIFY(w->close());
        MakerSettings written;
        QVERIFY(readSettingsFile(f.ini(), written).ok());
        QCOMPARE(written.main, normal);
    }

    void secondCopyIsOffsetAndDoesNotWriteFirst() {
        MakerMainWindow* first = f.start();
        MakerMainWindow* second = f.start();
        QVERIFY(first && second);
        QCOMPARE(second->instanceCount(), 2);
        QCOMPARE(second->pos() - first->pos(), QPoint(20, 20)); // 300 twips at 96 dpi
        QCOMPARE(second->contentsWindow()->pos() - first->contentsWindow()->pos(), QPoint(20, 20));
        QCOMPARE(second->keywordWindow()->pos() - first->keywordWindow()->pos(), QPoint(20, 20));
        QVERIFY(second->close());
        QVERIFY(!QFile::exists(f.ini()));
        QVERIFY(first->close());
        QVERIFY(QFile::exists(f.ini()));
    }

    void copyPushedOffScreenEnds() {
        MakerSettings low;
        low.main = {screenHeightTwips() - 800, 3035, 700, 7200}; // fits once, not offset
        writeAll(f.ini(), serializeSettings(low, false));
        MakerMainWindow* first = f.start();
        QVERIFY(first);
        f.dialogs().answerNext(Answer::Ok);
        QVERIFY(!f.start());
        expectMessage(0, QStringLiteral("qzd32mk 起動"),
                      QStringLiteral("画面範囲外表示となるため終了します。"
                                     "複数起動を終了し、再起動して下さい。"));
        QVERIFY(!f.lastWindow()->isVisible());
        QVERIFY(f.lastWindow()->close()); // ends without the shutdown
        QVERIFY(first->close());
    }

    void recentListLoadsEightAndKeepsFile() {
        QByteArray text;
        for (int i = 1; i <= 10; ++i)
            text += QStringLiteral("/help/f%1.qzd\r\n").arg(i).toUtf8();
        writeAll(f.recentIni(), text);
        MakerMainWindow* w = f.start();
        QCOMPARE(recentCaptions(*w).size(), 8);
        QCOMPARE(recentCaptions(*w).first(), QStringLiteral("/help/f1.qzd"));
        QVERIFY(w->close());
        QCOMPARE(readAll(f.recentIni()), text);
    }

    void recentListDropsRepeatsAndEmptyLines() {
        writeAll(f.recentIni(), "/a.qzd\r\n\r\n/b.qzd\r\n/a.qzd\r\n");
        MakerMainWindow* w = f.start();
        QCOMPARE(recentCaptions(*w), QStringList({"/a.qzd", "/b.qzd"}));
        QVERIFY(w->close());
        QCOMPARE(readAll(f.recentIni()), QByteArray("/a.qzd\r\n/b.qzd\r\n"));
    }

    void choosingEntryThreeMovesItToTheTop() {
        for (const char* name : {"a.qzd", "b.qzd", "c.qzd"})
            writeHelpFile(f.file(QString::fromLatin1(name)), 2);
        writeAll(f.recentIni(),
                 (f.file("a.qzd") + "\r\n" + f.file("b.qzd") + "\r\n" + f.file("c.qzd") + "\r\n")
                     .toUtf8());
        MakerMainWindow* w = f.start();
        QAction* third = nullptr;
        for (QAction* a : w->findChildren<QAction*>(QStringLiteral("qzd32mk_FileArray")))
            if (a->data().toInt() == 3)
                third = a;
        QVERIFY(third);
        third->trigger();
        QCOMPARE(w->windowTitle(), makerWindowTitle(f.file("c.qzd"), 1, 2));
        QCOMPARE(w->document().fileTitle(), QStringLiteral("c.qzd"));
        QCOMPARE(recentCaptions(*w),
                 QStringList({f.file("c.qzd"), f.file("a.qzd"), f.file("b.qzd")}));
        QCOMPARE(w->contentsWindow()->list()->item(0)->text(), QStringLiteral("p 1  はじめに"));
        QVERIFY(w->close());
        QCOMPARE(readAll(f.recentIni()),
                 (f.file("c.qzd") + "\r\n" + f.file("a.qzd") + "\r\n" + f.file("b.qzd") + "\r\n")
                     .toUtf8());
    }

    void ninthFileDropsTheOldest() {
        QByteArray text;
        for (int i = 1; i <= 8; ++i)
            text += QStringLiteral("/help/f%1.qzd\r\n").arg(i).toUtf8();
        writeAll(f.recentIni(), text);
        writeHelpFile(f.file("new.qzd"), 1);
        MakerMainWindow* w = f.start();
        f.dialogs().chooseFileNext(f.file("new.qzd"));
        MakerFixture::trigger(w, "qzd32mk_file_open");
        const QStringList captions = recentCaptions(*w);
        QCOMPARE(captions.size(), 8);
        QCOMPARE(captions.first(), f.file("new.qzd"));
        QVERIFY(!captions.contains(QStringLiteral("/help/f8.qzd")));
        QVERIFY(w->close());
    }

    void deletedEntryAsksToRemove_data() {
        QTest::addColumn<bool>("remove");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }
    void deletedEntryAsksToRemove() {
        QFETCH(bool, remove);
        const QString gone = f.file("gone.qzd");
        writeAll(f.recentIni(), (gone + "\r\n").toUtf8());
        MakerMainWindow* w = f.start();
        f.dialogs().answerNext(remove ? Answer::Yes : Answer::No);
        w->findChildren<QAction*>(QStringLiteral("qzd32mk_FileArray")).last()->trigger();
        expectMessage(0, QStringLiteral("qzd32Maker ﾌｧｲﾙﾘｽﾄ選択"),
                      QStringLiteral("ファイルが見つかりません。\n") + gone +
                          QStringLiteral("をファイルリストから削除しますか。"));
        QCOMPARE(recentCaptions(*w).isEmpty(), remove);
        QCOMPARE(w->windowTitle(), makerWindowTitle(QStringLiteral("新規ファイル"), 1, 1));
        QVERIFY(w->close());
        QCOMPARE(readAll(f.recentIni()).isEmpty(), remove);
    }

    void readOnlyRecentFileKeepsItsContent() {
        writeAll(f.recentIni(), "/old.qzd\r\n");
        setReadOnly(f.recentIni());
        writeHelpFile(f.file("a.qzd"), 1);
        MakerMainWindow* w = f.start();
        f.dialogs().chooseFileNext(f.file("a.qzd"));
        MakerFixture::trigger(w, "qzd32mk_file_open");
        f.dialogs().answerNext(Answer::Ok);
        QVERIFY(w->close());
        expectMessage(0, QStringLiteral("qzd32Maker ﾌｧｲﾙﾘｽﾄ更新"),
                      f.recentIni() + QStringLiteral("ファイルが書込み禁止に設定されています。\n"
                                                     "書込み禁止を解除しないと更新ができません。"));
        QCOMPARE(readAll(f.recentIni()), QByteArray("/old.qzd\r\n"));
    }

    void saveOnUnnamedDocumentOpensSaveAs() {
        MakerMainWindow* w = f.start();
        MakerFixture::type(w, QStringLiteral("本文"));
        QVERIFY(w->document().isModified());
        const QString path = f.file("saved.qzd");
        f.dialogs().chooseFileNext(path);
        MakerFixture::trigger(w, "qzd32mk_file_save");
        QCOMPARE(f.dialogs().calls().last().kind, ScriptedDialogs::Kind::SaveFile);
        QCOMPARE(f.dialogs().calls().last().filter, QStringLiteral("Quilloﾌｧｲﾙ (*.qzd)"));
        QVERIFY(!w->document().isModified());
        QCOMPARE(w->windowTitle(), makerWindowTitle(path, 1, 1));
        QCOMPARE(recentCaptions(*w), QStringList{path});
        HelpDocument read;
        QVERIFY(readHelpFile(path, read, Reader::Maker).ok());
        QVERIFY(read.page(1).rtf.contains("\\u26412"));
        QVERIFY(w->close());
    }

    void shorterDocumentLeavesNoOldBytes() {
        const QString path = f.file("long.qzd");
        writeHelpFile(path, 20, QByteArray("{\\rtf1 ") + QByteArray(5000, 'x') + "\\par}");
        MakerMainWindow* w = f.start(path);
        QCOMPARE(w->document().pageCount(), 20);
        MakerFixture::trigger(w, "qzd32mk_file_new");
        MakerFixture::type(w, QStringLiteral("short"));
        f.dialogs().chooseFileNext(path);
        MakerFixture::trigger(w, "qzd32mk_file_save_rename");
        QByteArray expected;
        QVERIFY(serializeHelpDocument(w->document().helpForWriting(), expected).ok());
        QCOMPARE(readAll(path), expected);
        QVERIFY(w->close());
    }

    void readOnlyTargetWarnsAndKeepsChanges_data() {
        QTest::addColumn<bool>("saveAs");
        QTest::newRow("overwrite") << false;
        QTest::newRow("save as") << true;
    }
    void readOnlyTargetWarnsAndKeepsChanges() {
        QFETCH(bool, saveAs);
        const QString path = f.file("locked.qzd");
        writeHelpFile(path, 1);
        const QByteArray before = readAll(path);
        MakerMainWindow* w = f.start(saveAs ? QString() : path);
        setReadOnly(path);
        MakerFixture::type(w, QStringLiteral("edit"));
        if (saveAs)
            f.dialogs().chooseFileNext(path);
        f.dialogs().answerNext(Answer::Ok);
        MakerFixture::trigger(w, saveAs ? "qzd32mk_file_save_rename" : "qzd32mk_file_save");
        expectMessage(0,
                      saveAs ? QStringLiteral("qzd32Maker 名前を付けて保存")
                             : QStringLiteral("qzd32Maker 上書き保存"),
                      path + QStringLiteral("は書込み禁止ファイルです。\n"
                                            "ライトプロテクトを解除してから保存して下さい。"));
        QVERIFY(w->document().isModified());
        QCOMPARE(readAll(path), before);
        // The exit question's Yes cannot save either: the window stays open.
        f.dialogs().answerNext(Answer::Yes);
        if (saveAs)
            f.dialogs().chooseFileNext(path);
        f.dialogs().answerNext(Answer::Ok);
        QVERIFY(!w->close());
        f.dialogs().answerNext(Answer::No);
        QVERIFY(w->close());
    }

    // Yes to "save?" before a new or other document, where the save then does not happen:
    // the command ends and the edited document stays, changes and name included.
    void yesWithoutASaveKeepsTheDocument_data() {
        QTest::addColumn<QByteArray>("command"); // menu item, or "recent" for list entry 2
        QTest::addColumn<bool>("named");         // false: unnamed, the save-as is cancelled
        QTest::addColumn<QString>("title");
        QTest::newRow("new, read-only file")
            << QByteArray("qzd32mk_file_new") << true << QStringLiteral("qzd32Maker 新規ﾌｧｲﾙ作成");
        QTest::newRow("new, save-as cancelled")
            << QByteArray("qzd32mk_file_new") << false << QStringLiteral("qzd32Maker 新規ﾌｧｲﾙ作成");
        QTest::newRow("open, read-only file")
            << QByteArray("qzd32mk_file_open") << true << QStringLiteral("qzd32Maker ﾌｧｲﾙｵｰﾌﾟﾝ");
        QTest::newRow("open, save-as cancelled")
            << QByteArray("qzd32mk_file_open") << false << QStringLiteral("qzd32Maker ﾌｧｲﾙｵｰﾌﾟﾝ");
        QTest::newRow("recent entry, read-only file")
            << QByteArray("recent") << true << QStringLiteral("qzd32Maker ﾌｧｲﾙ保存");
    }
    void yesWithoutASaveKeepsTheDocument() {
        QFETCH(QByteArray, command);
        QFETCH(bool, named);
        QFETCH(QString, title);
        const QString other = f.file("other.qzd");
        const QString path = f.file("locked.qzd");
        writeHelpFile(other, 3);
        writeHelpFile(path, 1);
        writeAll(f.recentIni(), (other + "\r\n").toUtf8());
        MakerMainWindow* w = f.start(named ? path : QString());
        setReadOnly(path);
        MakerFixture::type(w, QStringLiteral("keep me"));
        const QString titleBefore = w->windowTitle();

        f.dialogs().answerNext(Answer::Yes);
        if (named)
            f.dialogs().answerNext(Answer::Ok); // the write-protect warning
        else
            f.dialogs().chooseFileNext(QString()); // the save-as dialog, cancelled
        if (command == "recent")
            recentEntry(*w, 2)->trigger();
        else
            MakerFixture::trigger(w, command.constData());

        expectMessage(0, title,
                      (named ? path : QStringLiteral("新規ファイル")) +
                          QStringLiteral("の内容が変わっています。\n保存しますか。"));
        QCOMPARE(f.dialogs().messages().size(), named ? 2 : 1);
        QCOMPARE(w->windowTitle(), titleBefore);
        QVERIFY(w->document().isModified());
        QVERIFY(w->editor()->plainText().contains(QStringLiteral("keep me")));
        f.dialogs().answerNext(Answer::No);
        QVERIFY(w->close());
    }

    void failedWriteKeepsTheOldFile() {
        const QString path = f.file("keep.qzd");
        writeHelpFile(path, 1);
        const QByteArray before = readAll(path);
        MakerMainWindow* w = f.start(path);
        w->document().setTitle(1, QStringLiteral("絵文字😀"));
        MakerFixture::type(w, QStringLiteral("x"));
        f.dialogs().answerNext(Answer::Ok);
        MakerFixture::trigger(w, "qzd32mk_file_save");
        expectMessage(0, QStringLiteral("qzd32Maker 上書き保存"),
                      QStringLiteral("ページ 1 の目次に、ファイルに保存できない文字「") +
                          QString::fromUtf8("😀").at(0) +
                          QStringLiteral("」があります。\n文字を変更してから保存して下さい。"));
        QCOMPARE(readAll(path), before);
        QVERIFY(w->document().isModified());
        QVERIFY(w->saveError() != 0);
        f.dialogs().answerNext(Answer::No);
        QVERIFY(w->close());
    }

    // A save while another program holds the file waits a moment, then says the file is in
    // use; the document stays unsaved and editable, and saves once the file is let go.
    void saveWhileAnotherProgramHoldsTheFile() {
        const QString path = f.file("held.qzd");
        writeHelpFile(path, 1);
        const QByteArray before = readAll(path);
        MakerMainWindow* w = f.start(path);
        MakerFixture::type(w, QStringLiteral("edit"));
        const int held = ::open(QFile::encodeName(path).constData(), O_RDONLY);
        QCOMPARE(::flock(held, LOCK_EX), 0);
        const int wait = lockWaitMilliseconds;
        lockWaitMilliseconds = 200;
        f.dialogs().answerNext(Answer::Ok);
        MakerFixture::trigger(w, "qzd32mk_file_save");
        lockWaitMilliseconds = wait;
        expectMessage(0, QStringLiteral("qzd32Maker 上書き保存"),
                      path + QStringLiteral(" は他のプログラムが使用中です。\n"
                                            "しばらくしてから保存して下さい。"));
        QVERIFY(w->document().isModified());
        QCOMPARE(w->saveError(), 55);
        QCOMPARE(readAll(path), before);
        MakerFixture::type(w, QStringLiteral(" more"));
        QVERIFY(w->editor()->plainText().contains(QStringLiteral("edit more")));
        ::close(held);
        MakerFixture::trigger(w, "qzd32mk_file_save");
        QVERIFY(!w->document().isModified());
        HelpDocument read;
        QVERIFY(readHelpFile(path, read, Reader::Maker).ok());
        QVERIFY(read.page(1).rtf.contains("edit more"));
        QVERIFY(w->close());
    }

    // Opening a FIFO or a device is refused at once as no help file; what is open stays.
    void openingWhatIsNoFile_data() {
        QTest::addColumn<bool>("fifo");
        QTest::newRow("FIFO") << true;
        QTest::newRow("/dev/zero") << false;
    }
    void openingWhatIsNoFile() {
        QFETCH(bool, fifo);
        const QString path = fifo ? f.file("pipe.qzd") : QStringLiteral("/dev/zero");
        if (fifo)
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        const QString open = f.file("open.qzd");
        writeHelpFile(open, 2);
        MakerMainWindow* w = f.start(open);
        f.dialogs().chooseFileNext(path);
        f.dialogs().answerNext(Answer::Ok);
        MakerFixture::trigger(w, "qzd32mk_file_open");
        expectMessage(0, QStringLiteral("qzd32Maker 開く"), wrongFormatText());
        QCOMPARE(w->document().help().filePath, open);
        QCOMPARE(w->document().pageCount(), 2);
        QVERIFY(w->close());
    }

    void exitQuestion_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<bool>("saved");
        QTest::newRow("yes") << int(Answer::Yes) << true << true;
        QTest::newRow("no") << int(Answer::No) << true << false;
        QTest::newRow("cancel") << int(Answer::Cancel) << false << false;
    }
    void exitQuestion() {
        QFETCH(int, answer);
        QFETCH(bool, closes);
        QFETCH(bool, saved);
        const QString path = f.file("doc.qzd");
        writeHelpFile(path, 1);
        const QByteArray before = readAll(path);
        MakerMainWindow* w = f.start(path);
        MakerFixture::type(w, QStringLiteral("changed"));
        f.dialogs().answerNext(Answer(answer));
        QCOMPARE(w->close(), closes);
        expectMessage(0, QStringLiteral("qzd32Maker 終了"),
                      path + QStringLiteral("の内容が変わっています。\n保存しますか。"));
        QCOMPARE(f.dialogs().messages()[0].buttons, Dialogs::Buttons::YesNoCancel);
        QCOMPARE(readAll(path) != before, saved);
        if (!closes) {
            f.dialogs().answerNext(Answer::No);
            QVERIFY(w->close());
        }
    }

    void sessionEndAsksYesNo() {
        MakerMainWindow* w = f.start();
        MakerFixture::type(w, QStringLiteral("changed"));
        f.dialogs().answerNext(Answer::No);
        w->closeFromSystem();
        QCOMPARE(f.dialogs().messages()[0].buttons, Dialogs::Buttons::YesNo);
        QCOMPARE(f.dialogs().messages()[0].text,
                 QStringLiteral("新規ファイルの内容が変わっています。\n保存しますか。"));
        QVERIFY(!w->isVisible());
    }

    void previewNeedsASavedDocument() {
        MakerMainWindow* w = f.start();
        f.dialogs().answerNext(Answer::Ok);
        MakerFixture::trigger(w, "qzd32mk_preview_help");
        expectMessage(0, QStringLiteral("qzd32maker qzdﾌﾟﾚﾋﾞｭｰ"),
                      QStringLiteral("表示するファイルが有りません。"
                                     "qzdファイルを開く、または作成して下さい。"));
        QVERIFY(w->isVisible());
        QVERIFY(w->contentsWindow()->isVisible());
        QVERIFY(!w->previewWindow());
        QVERIFY(w->close());
    }

    void previewHidesAndRestoresTheWindows() {
        const QString path = f.file("prev.qzd");
        writeHelpFile(path, 3);
        MakerMainWindow* w = f.start(path);
        MakerFixture::trigger(w, "qzd32mk_preview_help");
        viewer::ViewerWindow* preview = w->previewWindow();
        QVERIFY(preview);
        QCOMPARE(preview->objectName(), QStringLiteral("qzd32mk_prev"));
        QVERIFY(preview->isVisible());
        QVERIFY(!w->isVisible());
        QVERIFY(!w->contentsWindow()->isVisible());
        QVERIFY(!w->keywordWindow()->isVisible());
        preview->resize(preview->width() + 60, preview->height());
        QVERIFY(preview->close());
        QVERIFY(w->isVisible());
        QVERIFY(w->contentsWindow()->isVisible());
        QVERIFY(w->previewLayoutChanged());
        f.dialogs().answerNext(Answer::No);
        QVERIFY(w->close());
        expectMessage(0, QStringLiteral("qzd32Maker 終了"),
                      QStringLiteral("プレビューで表示サイズまたはリスト幅が変更されています。\n"
                                     "保存しますか。"));
    }

    void helpMenu() {
        MakerMainWindow* w = f.start();
        f.dialogs().answerNext(Answer::Ok);
        MakerFixture::trigger(w, "qzd32mk_help_quick1");
        const QStringList lines = f.dialogs().messages()[0].text.split('\n');
        QCOMPARE(lines.first(), QStringLiteral("                  qzdﾌｧｲﾙ作成手順について"));
        QCOMPARE(lines[1], QString());
        QCOMPARE(lines.last(), QStringLiteral("詳細は、ﾍﾙﾌﾟ(H)を参照して下さい。"));
        QCOMPARE(f.dialogs().messages()[0].title, QStringLiteral("qzd32maker ヘルプ(H)"));

        // Without the help file the viewer is not started.
        f.dialogs().answerNext(Answer::Ok);
        MakerFixture::trigger(w, "qzd32mk_help_view");
        expectMessage(1, QStringLiteral("qzd32maker ヘルプ(H)"),
                      QStringLiteral("qzd32.exe、またはヘルプファイルが見つかりません。"));
        QDir().mkpath(f.file("bin"));
        writeHelpFile(f.file("bin/qzd32.qzd"), 1);
        MakerFixture::trigger(w, "qzd32mk_help_view");
        const ScriptedDialogs::Call shell = f.dialogs().calls().last();
        QCOMPARE(shell.kind, ScriptedDialogs::Kind::ShellOpen);
        QCOMPARE(shell.text, f.file("bin/qzd32"));
        QCOMPARE(shell.arguments, QStringList{f.file("bin/qzd32.qzd")});
        f.dialogs().setShellOpenResult(14);
        f.dialogs().answerNext(Answer::Ok);
        MakerFixture::trigger(w, "qzd32mk_help_view");
        expectMessage(2, QStringLiteral("qzd32maker ヘルプ(H)"),
                      QStringLiteral("qzd32.exeを起動できません。"));

        f.dialogs().answerNext(Answer::Ok);
        MakerFixture::trigger(w, "qzd32mk_version");
        QVERIFY(f.dialogs().messages()[3].text.startsWith(
            QStringLiteral("\nQuillo32Maker  Ver2.02  \nコンピュータ名\t")));
        QVERIFY(w->close());
    }

    void commandLineWithTooManySeparators() {
        const QString path = QStringLiteral("/a/b/c/d/e/f/g/h/i/j/k/x.qzd");
        f.dialogs().answerNext(Answer::Ok);
        MakerMainWindow* w = f.start(path);
        expectMessage(0, QStringLiteral("qzd32mk 関連付け起動"),
                      path + QStringLiteral("のファイルタイトルが読込めません。"));
        QCOMPARE(w->windowTitle(), makerWindowTitle(QStringLiteral("新規ファイル"), 1, 1));
        QVERIFY(w->close());
    }

    void tooManyFontsWarnsAndKeepsWhatFitted() {
        QStringList fonts;
        for (int i = 0; i < 502; ++i)
            fonts << QStringLiteral("Font%1").arg(i);
        MakerMainWindow* crowded = f.makeWindow(fonts);
        f.dialogs().answerNext(Answer::Ok);
        QVERIFY(crowded->startUp({}));
        expectMessage(0, QStringLiteral("qzd32Maker 環境読込み"),
                      QStringLiteral("表示フォントが500種類以上あります。\n"
                                     "ヘルプ(H)を参照し、フォント数を減らして下さい。"));
        QCOMPARE(crowded->findChild<QComboBox*>(QStringLiteral("Combo1"))->count(), 501);
        QCOMPARE(crowded->findChild<QComboBox*>(QStringLiteral("Combo2"))->currentText(),
                 QStringLiteral("9"));
        QVERIFY(crowded->close());
    }

    void ownHelpFileIsBuilt() {
        HelpDocument help;
        QVERIFY(
            readHelpFile(QStringLiteral(QUILLO_BIN_DIR "/qzd32.qzd"), help, Reader::Viewer).ok());
        QVERIFY(help.pageCount() >= 10);
        for (int page = 1; page <= help.pageCount(); ++page) {
            QVERIFY2(help.page(page).hasTitle(), qPrintable(QString::number(page)));
            QVERIFY(!help.page(page).keywords.isEmpty());
        }
        QCOMPARE(help.page(1).title.value_or(QString()), QStringLiteral("はじめに"));
    }

    void smallestWindowSnapsBack() {
        MakerMainWindow* w = f.start();
        w->resize(50, 50);
        QCOMPARE(w->size(), QSize(200, 200)); // 3000 twips at 96 dpi
        QVERIFY(w->close());
    }
};

QTEST_MAIN(TestMakerWindow)
#include "tst_makerwindow.moc"
