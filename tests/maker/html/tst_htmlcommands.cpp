#include "core/helpfile.h"
#include "support/makerfixture.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QUrl>

using namespace quillo;
using namespace quillo::maker;
using Answer = Dialogs::Answer;
using Call = quillo::test::ScriptedDialogs::Call;

namespace {

// A help file of 12 pages: page n reads "page n" and has the title "章 n"; light blue pages.
void writePages(const QString& path) {
    auto doc = std::make_unique<HelpDocument>();
    doc->pages.resize(12);
    for (int p = 1; p <= 12; ++p) {
        doc->page(p).rtf = QByteArray("{\\rtf1\\ansi page ") + QByteArray::number(p) + "\\par}";
        doc->page(p).title = QStringLiteral("章 %1").arg(p);
    }
    doc->displaySettings.backColor = 0x00FFC0C0;
    QVERIFY(saveHelpFile(path, *doc).ok());
}

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void overwrite(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QString report(const QString& firstLine, const QString& folder) {
    return firstLine + QStringLiteral("ページをHTML変換し\n") + folder +
           QStringLiteral(
               "フォルダに格納しました。\n\na_index.htm を初期ページとして使用して下さい。");
}

} // namespace

class TestHtmlCommands : public QObject {
    Q_OBJECT
    MakerFixture f;

    QString folder() const { return f.home() + QStringLiteral("/a_html"); }
    QString site(const QString& name) const { return folder() + QLatin1Char('/') + name; }
    QString page(int n) const { return site(QStringLiteral("a_%1.htm").arg(n)); }

    MakerMainWindow* openSample() {
        writePages(f.file(QStringLiteral("a.b.qzd")));
        return f.start(f.file(QStringLiteral("a.b.qzd")));
    }
    // Makes the whole site of the open sample, answering the conversion question.
    void makeAll(MakerMainWindow* w) {
        f.dialogs().answerNext(Answer::Ok);
        f.dialogs().answerNext(Answer::Ok);
        MakerFixture::trigger(w, "qzd32mk_html_make_all");
        f.dialogs().clear();
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { f.setUp(); }
    void cleanup() { f.tearDown(); }

    void makeAllThenOnlyThePageShown() {
        MakerMainWindow* w = openSample();
        QVERIFY(w);
        f.dialogs().answerNext(Answer::Ok);
        f.dialogs().answerNext(Answer::Ok);
        MakerFixture::trigger(w, "qzd32mk_html_make_all");
        QList<Call> shown = f.dialogs().messages();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0].title, QStringLiteral("qzd32Maker HTML変換"));
        QCOMPARE(shown[0].text, QStringLiteral("HTML変換を行います。"));
        QCOMPARE(shown[0].buttons, Dialogs::Buttons::OkCancel);
        QCOMPARE(shown[0].icon, Dialogs::Icon::Information);
        QCOMPARE(shown[1].title, QStringLiteral("qzd32maker HTML変換"));
        QCOMPARE(shown[1].text, report(QStringLiteral(" 1ページから 12"), folder()));
        QCOMPARE(shown[1].icon, Dialogs::Icon::Information);
        for (int p = 1; p <= 12; ++p) {
            QVERIFY(contents(page(p)).contains("page " + QByteArray::number(p)));
            QVERIFY(!QFile::exists(site(QStringLiteral("a_%1.rtf").arg(p))));
        }
        QVERIFY(
            contents(site(QStringLiteral("a_index.htm"))).contains("<body bgcolor=\"#C0C0FF\">"));

        // Only page 7 again: the navigation pages are rewritten, of the pages only a_7.htm.
        const QStringList all = QDir(folder()).entryList(QDir::Files);
        for (const QString& name : all)
            overwrite(site(name), "old");
        while (w->document().currentPage() < 7)
            MakerFixture::trigger(w, "qzd32mk_Next_Page");
        f.dialogs().clear();
        f.dialogs().answerNext(Answer::Ok);
        f.dialogs().answerNext(Answer::Ok);
        MakerFixture::trigger(w, "qzd32mk_html_make_sellect");
        shown = f.dialogs().messages();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0].title, QStringLiteral("qzd32Maker HTML作成"));
        QCOMPARE(shown[0].text,
                 QStringLiteral("a_index.htm は、すでに作成されています。上書きします。\n"
                                "HTML変換を行います。"));
        QCOMPARE(shown[0].icon, Dialogs::Icon::Warning);
        QCOMPARE(shown[0].buttons, Dialogs::Buttons::OkCancel);
        QCOMPARE(shown[1].text, report(QStringLiteral(" 7"), folder()));
        for (const QString& name : all) {
            const bool rewritten =
                !name.contains(QRegularExpression(QStringLiteral("^a_\\d+\\.htm$"))) ||
                name == QStringLiteral("a_7.htm");
            QCOMPARE(contents(site(name)) != "old", rewritten);
        }
        QVERIFY(contents(site(QStringLiteral("a_index.htm")))
                    .contains("<frame src=\"a_1.htm\" Name = \"qzd_right\""));
        QVERIFY(contents(page(7)).contains("page 7"));
    }

    void cancelWritesNothingMore() {
        MakerMainWindow* w = openSample();
        QVERIFY(w);
        // Cancel at the conversion question: the navigation pages are there, no page.
        f.dialogs().answerNext(Answer::Cancel);
        MakerFixture::trigger(w, "qzd32mk_html_make_all");
        QCOMPARE(f.dialogs().messages().size(), 1);
        QVERIFY(contents(site(QStringLiteral("a_conts.htm")))
                    .contains("<a href=\"a_12.htm\" Target = \"qzd_right\">p12  "));
        QVERIFY(!QFile::exists(page(1)));

        // Cancel at the overwrite question: nothing is written.
        overwrite(site(QStringLiteral("a_index.htm")), "old");
        f.dialogs().clear();
        f.dialogs().answerNext(Answer::Cancel);
        MakerFixture::trigger(w, "qzd32mk_html_make_all");
        QCOMPARE(f.dialogs().messages().size(), 1);
        QCOMPARE(contents(site(QStringLiteral("a_index.htm"))), QByteArray("old"));
        QVERIFY(!QFile::exists(page(1)));
    }

    // The page shown in the editor is exported with the edits it holds.
    void shownPageWithItsEdits() {
        MakerMainWindow* w = openSample();
        QVERIFY(w);
        MakerFixture::type(w, QStringLiteral("新しい文"));
        f.dialogs().answerNext(Answer::Ok);
        f.dialogs().answerNext(Answer::Ok);
        MakerFixture::trigger(w, "qzd32mk_html_make_sellect");
        QVERIFY(QString::fromUtf8(contents(page(1))).contains(QStringLiteral("新しい文")));
        QVERIFY(!QFile::exists(page(2)));
    }

    void neverSaved_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        const QString make =
            QStringLiteral("HTMLファイルを作成する元データのqzdファイルが設定されていません。\n"
                           "qzdファイルを開く、または作成して下さい。");
        QTest::newRow("all") << QStringLiteral("qzd32mk_html_make_all")
                             << QStringLiteral("qzd32maker ﾌﾞﾗｳｻﾞ表示") << make;
        QTest::newRow("shown") << QStringLiteral("qzd32mk_html_make_sellect")
                               << QStringLiteral("qzd32maker ﾌﾞﾗｳｻﾞ表示") << make;
        QTest::newRow("view") << QStringLiteral("qzd32mk_html_view")
                              << QStringLiteral("qzd32maker ﾌﾞﾗｳｻﾞﾌﾟﾚﾋﾞｭｰ")
                              << QStringLiteral(
                                     "qzdファイルが開かれていません。\n"
                                     "qzdファイルを開く、またはqzdファイルを作成して下さい。");
    }
    void neverSaved() {
        QFETCH(QString, action);
        QFETCH(QString, title);
        QFETCH(QString, text);
        MakerMainWindow* w = f.start();
        QVERIFY(w);
        f.dialogs().answerNext(Answer::Ok);
        MakerFixture::trigger(w, action.toLatin1().constData());
        const QList<Call> shown = f.dialogs().messages();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].title, title);
        QCOMPARE(shown[0].text, text);
        QCOMPARE(shown[0].icon, Dialogs::Icon::Information);
        QVERIFY(QDir(f.home()).entryList({QStringLiteral("*_html")}, QDir::Dirs).isEmpty());
    }

    void viewInBrowser_data() {
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("text");
        QTest::newRow("opened") << 42 << QString();
        QTest::newRow("0") << 0 << QStringLiteral("システムメモリが不足しています。");
        QTest::newRow("8") << 8 << QStringLiteral("システムメモリが不足しています。");
        const QString noBrowser = QStringLiteral("ブラウザが見つかりません。\n"
                                                 "ブラウザをインストールしてから起動して下さい。");
        QTest::newRow("2") << 2 << noBrowser;
        QTest::newRow("3") << 3 << noBrowser;
        QTest::newRow("14") << 14 << QStringLiteral("ブラウザが起動できません。");
        QTest::newRow("5") << 5 << QStringLiteral("ERR =  5");
    }
    void viewInBrowser() {
        QFETCH(int, result);
        QFETCH(QString, text);
        MakerMainWindow* w = openSample();
        QVERIFY(w);
        f.dialogs().answerNext(Answer::Ok);
        MakerFixture::trigger(w, "qzd32mk_html_view");
        QCOMPARE(f.dialogs().messages().size(), 1);
        QCOMPARE(
            f.dialogs().messages()[0].text,
            QStringLiteral("HTMLファイルが作成されていません。\n"
                           "HTML(H)メニューのHTML作成機能によりHTMLファイルを作成して下さい。"));
        makeAll(w);
        f.dialogs().setShellOpenResult(result);
        if (!text.isEmpty())
            f.dialogs().answerNext(Answer::Ok);
        MakerFixture::trigger(w, "qzd32mk_html_view");
        const QList<Call>& calls = f.dialogs().calls();
        QCOMPARE(calls.size(), text.isEmpty() ? 1 : 2);
        QCOMPARE(calls[0].kind, quillo::test::ScriptedDialogs::Kind::ShellOpen);
        // As an address, which the desktop opens with its HTML handler and never runs.
        QCOMPARE(calls[0].text,
                 QUrl::fromLocalFile(site(QStringLiteral("a_index.htm"))).toString());
        if (!text.isEmpty()) {
            QCOMPARE(calls[1].title, QStringLiteral("qzd32maker ﾌﾞﾗｳｻﾞﾌﾟﾚﾋﾞｭｰ"));
            QCOMPARE(calls[1].text, text);
            QCOMPARE(calls[1].icon, Dialogs::Icon::Information);
        }
    }

    // A start page with execute bits is still handed over as a file:// address, and the
    // site written again carries none.
    void executableStartPage() {
        MakerMainWindow* w = openSample();
        QVERIFY(w);
        makeAll(w);
        const QString start = site(QStringLiteral("a_index.htm"));
        QVERIFY(QFile::setPermissions(start, QFile::permissions(start) | QFile::ExeOwner |
                                                 QFile::ExeUser | QFile::ExeGroup));
        MakerFixture::trigger(w, "qzd32mk_html_view");
        QCOMPARE(f.dialogs().calls().size(), 1);
        QVERIFY(f.dialogs().calls()[0].text.startsWith(QStringLiteral("file:///")));
        f.dialogs().answerNext(Answer::Ok);
        f.dialogs().answerNext(Answer::Ok);
        MakerFixture::trigger(w, "qzd32mk_html_make_all");
        QCOMPARE(QFile::permissions(start) &
                     (QFile::ExeOwner | QFile::ExeUser | QFile::ExeGroup | QFile::ExeOther),
                 QFile::Permissions());
    }

    // A title byte that is no character: the whole site is made and the report says which
    // character was written as "?".
    void undecodableTitle() {
        const QString path = f.file(QStringLiteral("a.b.qzd"));
        writePages(path);
        QByteArray bytes = contents(path);
        QVERIFY(bytes.contains("\x8f\xcd 3")); // the title "章 3"
        bytes.replace("\x8f\xcd 3", "\x8f\xcd\x80"
                                    "3"); // 0x80 is no character in code page 932
        overwrite(path, bytes);
        MakerMainWindow* w = f.start(path);
        QVERIFY(w);
        f.dialogs().answerNext(Answer::Ok);
        f.dialogs().answerNext(Answer::Ok);
        MakerFixture::trigger(w, "qzd32mk_html_make_all");
        const QList<Call> shown = f.dialogs().messages();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[1].text, report(QStringLiteral(" 1ページから 12"), folder()) +
                                    QStringLiteral("\n\nHTMLファイルに書けない文字「\uFFFD」を"
                                                   "「?」に置き換えました。"));
        QVERIFY(contents(site(QStringLiteral("a_conts.htm"))).contains("p 3  \x8f\xcd?3</a>"));
        QVERIFY(contents(page(12)).contains("page 12"));
    }

    // A page that cannot be written stops the run with its path, the folder and the reason;
    // the pages before it are kept, no report follows.
    void failedPage() {
        MakerMainWindow* w = openSample();
        QVERIFY(w);
        QVERIFY(QDir().mkpath(page(3)));
        f.dialogs().answerNext(Answer::Ok);
        f.dialogs().answerNext(Answer::Ok);
        MakerFixture::trigger(w, "qzd32mk_html_make_all");
        const QList<Call> shown = f.dialogs().messages();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[1].title, QStringLiteral("qzd32Maker HTML変換"));
        QCOMPARE(shown[1].icon, Dialogs::Icon::Warning);
        const QString start = page(3) + QStringLiteral("を変換、または保存できません。\n") +
                              folder() + QStringLiteral("フォルダの状態を確認して下さい。\n");
        // The reason in the program's words.
        QCOMPARE(shown[1].text, start + QStringLiteral("同じ名前のフォルダがあります。"));
        QVERIFY(QFile::exists(page(2)));
        QVERIFY(!QFile::exists(page(4)));
    }

    // A navigation page that cannot be written is reported; nothing is converted.
    void failedNavigationPage() {
        MakerMainWindow* w = openSample();
        QVERIFY(w);
        QVERIFY(QDir().mkpath(site(QStringLiteral("a_keys.htm"))));
        f.dialogs().answerNext(Answer::Ok);
        MakerFixture::trigger(w, "qzd32mk_html_make_all");
        const QList<Call> shown = f.dialogs().messages();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].title, QStringLiteral("qzd32Maker HTML作成"));
        QCOMPARE(shown[0].icon, Dialogs::Icon::Warning);
        QCOMPARE(shown[0].text, site(QStringLiteral("a_keys.htm")) +
                                    QStringLiteral("を作成できません。\n"
                                                   "同じ名前のフォルダがあります。"));
        QVERIFY(!QFile::exists(page(1)));
    }
};

QTEST_MAIN(TestHtmlCommands)
#include "tst_htmlcommands.moc"
