#include "core/helpdocument.h"
#include "core/helpfile.h"
#include "helpsource/helpsource.h"
#include "helpsource/manifest.h"
#include "rtf/picture.h"
#include "rtf/rtfreader.h"
#include "support/pictures.h"
#include "support/scripteddialogs.h"
#include "viewer/viewerwindow.h"
#include "winsvc/richtextcontrol.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QTextList>
#include <QTextTable>

#include <memory>

using namespace quillo;
using Files = QMap<QString, QByteArray>;

namespace {

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFiles(const QString& folder, const Files& files) {
    for (auto it = files.begin(); it != files.end(); ++it) {
        const QString path = QDir(folder).filePath(it.key());
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(f.write(it.value()), it.value().size());
    }
}

struct Run {
    int code = -1;
    QString err;
};

// The real tool, as a build script calls it.
Run qzdtool(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(QUILLO_BIN_DIR "/qzdtool"), args);
    Run r;
    if (p.waitForFinished(60000))
        r.code = p.exitCode();
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// The help file unpacked with the library into `folder`, then packed again.
QByteArray unpackAndPack(const QByteArray& file, const QString& folder,
                         const helpsource::UnpackOptions& options = {}) {
    auto doc = std::make_unique<HelpDocument>();
    HelpFileHeader header;
    if (!parseHelpFile(file, *doc, Reader::Maker).ok() ||
        !parseHelpFileHeader(file, header, Reader::Maker).ok())
        return "unreadable";
    const QStringList unpacked =
        helpsource::unpackHelpDocument(*doc, header.formatTag, folder, options);
    if (!unpacked.isEmpty())
        return unpacked.join(u'\n').toUtf8();
    const helpsource::PackResult packed = helpsource::buildHelpFile(folder);
    return packed.ok() ? packed.bytes : packed.problems.join(u'\n').toUtf8();
}

QByteArray fileOf(HelpDocument& doc) {
    QByteArray bytes;
    return serializeHelpDocument(doc, bytes).ok() ? bytes : QByteArray();
}

// Page 1 of a help file as the viewer shows it.
void readFirstPage(const QByteArray& file, QTextDocument& page) {
    auto doc = std::make_unique<HelpDocument>();
    QVERIFY(parseHelpFile(file, *doc, Reader::Viewer).ok());
    QVERIFY(doc->pageCount() >= 1);
    rtf::readRtf(doc->page(1).rtf, page);
}

QTextCharFormat formatAt(const QTextDocument& doc, const QString& text) {
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().text().contains(text))
                return it.fragment().charFormat();
    return {};
}

QByteArray manyPages(int count) {
    QByteArray text;
    for (int p = 1; p <= count; ++p)
        text += "[[page]]\nfile = \"pages/001.txt\"\n\n";
    return text;
}

QByteArray manyKeywords(int count) {
    QByteArray text = "[[page]]\nfile = \"pages/001.txt\"\nkeywords = [\n";
    for (int k = 1; k <= count; ++k)
        text += "  \"k" + QByteArray::number(k) + "\",\n";
    return text + "]\n";
}

const QByteArray OnePage = "[[page]]\nfile = \"pages/001.txt\"\n";

} // namespace

class TestHelpSource : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Help files made by the writer come back byte for byte, whatever their pages hold.
    void roundTripIsByteIdentical_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("sample") << contents(QStringLiteral(QUILLO_SAMPLES "/sample.qzd"));
        for (const char* name : {"japanese", "minimal", "othertag", "maximised_topmost"})
            QTest::newRow(name) << contents(QStringLiteral(QUILLO_TEST_DATA "/core/") +
                                            QLatin1String(name) + QStringLiteral(".qzd"));
        const QByteArray programHelp = contents(QStringLiteral(QUILLO_BIN_DIR "/qzd32.qzd"));
        if (!programHelp.isEmpty())
            QTest::newRow("program help") << programHelp;

        // Every RTF test page as a page of one file, with titles and keywords the manifest
        // must quote: quotes, backslashes, tabs, an empty title beside none, half-width kana.
        auto doc = std::make_unique<HelpDocument>();
        const QStringList titles{QStringLiteral("\"引用\" \\ 終"), QString(),
                                 QStringLiteral("ﾀﾌﾞ\tあり"), QStringLiteral("#3 [x] = y")};
        int n = 0;
        for (const QFileInfo& rtf :
             QDir(QStringLiteral(QUILLO_TEST_DATA "/rtf"))
                 .entryInfoList({QStringLiteral("*.rtf")}, QDir::Files, QDir::Name)) {
            HelpPage page;
            page.rtf = contents(rtf.filePath());
            if (n % 3 != 1)
                page.title = titles[n % titles.size()];
            if (n % 2 == 0)
                page.keywords = {QStringLiteral("キー\"ワード\""), QStringLiteral("a,b"),
                                 QStringLiteral("]")};
            doc->pages << page;
            ++n;
        }
        QVERIFY(n >= 5);
        doc->displaySettings.backColor = qint32(0x80000005u);
        doc->displaySettings.windowState = 2;
        doc->displaySettings.topmost = 1;
        QTest::newRow("RTF test pages") << fileOf(*doc);
    }
    void roundTripIsByteIdentical() {
        QFETCH(QByteArray, file);
        QVERIFY(!file.isEmpty());
        QTemporaryDir dir;
        const QByteArray again = unpackAndPack(file, dir.path());
        QVERIFY2(again == file, again.left(300).constData());
        // The pages are stored as they were.
        auto doc = std::make_unique<HelpDocument>();
        QVERIFY(parseHelpFile(file, *doc, Reader::Maker).ok());
        for (int p = 1; p <= doc->pageCount(); ++p)
            QCOMPARE(contents(dir.filePath(helpsource::pageFileName(p, "rtf"))), doc->page(p).rtf);
        // The rendering for reviews changes nothing of what pack reads.
        QTemporaryDir viewed;
        QCOMPARE(unpackAndPack(file, viewed.path(), {false, true}), file);
        QVERIFY(contents(viewed.filePath(QStringLiteral("pages/001.md")))
                    .startsWith("<!-- A rendering of pages/001.rtf"));
        QCOMPARE(QFileInfo(viewed.filePath(QStringLiteral("pages/001.md"))).permissions() &
                     (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther),
                 QFile::Permissions());
    }

    // A file another writer made (a blank flag, settings below their minimum) comes back as the
    // program's writer would save it.
    void foreignFileComesBackAsSaved() {
        for (const char* name : {"blank_flags", "settings_edge"}) {
            const QByteArray file = contents(QStringLiteral(QUILLO_TEST_DATA "/core/") +
                                             QLatin1String(name) + QStringLiteral(".qzd"));
            auto doc = std::make_unique<HelpDocument>();
            QVERIFY(parseHelpFile(file, *doc, Reader::Maker).ok());
            QTemporaryDir dir;
            QCOMPARE(unpackAndPack(file, dir.path()), fileOf(*doc));
        }
    }

    // A Markdown page with every construct, packed by the tool and opened in the viewer.
    void markdownPageReadsBackAsWritten() {
        QTemporaryDir dir;
        const QByteArray png = quillo::test::pngBytes(40, 20, Qt::red);
        writeFiles(
            dir.path(),
            {{"help.toml", "[[page]]\nfile = \"pages/001.md\"\ntitle = \"概要\"\n\n"
                           "[[page]]\nfile = \"pages/002.txt\"\ntitle = \"操作\"\n"},
             {"pages/002.txt", "一行目\n二行目\n"},
             {"pages/img/red.png", png},
             {"pages/001.md", "# 大見出し\n\n"
                              "本文の *斜体* と **太字** と `code` です。\n\n"
                              "### 小見出し\n\n"
                              "- りんご\n- みかん\n\n"
                              "1. first\n2. second\n\n"
                              "| 名前 | 値 |\n|---|---|\n| 赤 | 1 |\n| 青い長い名前の色 | 2 |\n\n"
                              "```\nint x;\n```\n\n"
                              "[外部](https://example.com/a) [操作へ](#操作) "
                              "[二頁](#2)\n\n"
                              "![赤い四角](img/red.png)\n"}});
        const QString file = dir.filePath(QStringLiteral("help.qzd"));
        QCOMPARE(qzdtool({QStringLiteral("pack"), dir.path(), file}).code, 0);
        const QByteArray packed = contents(file);

        // Opened in the viewer, as a reader sees it.
        test::ScriptedDialogs dialogs;
        viewer::ViewerWindow window(dialogs);
        window.startUp(file);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const auto* control = window.findChild<RichTextControl*>(QStringLiteral("RichTextBox2"));
        QVERIFY(control);
        QTRY_VERIFY(control->document()->toPlainText().contains(QStringLiteral("二頁")));
        QCOMPARE(dialogs.unexpectedCount(), 0);
        const QTextDocument& page = *control->document();
        const QString text = page.toPlainText();
        for (const char* expected : {"大見出し", "本文の 斜体 と 太字 と code です。", "りんご",
                                     "second", "int x;", "外部 操作へ 二頁"})
            QVERIFY2(text.contains(QString::fromUtf8(expected)), qPrintable(text));

        const QTextCharFormat h1 = formatAt(page, QStringLiteral("大見出し"));
        QCOMPARE(h1.fontPointSize(), 16.0);
        QVERIFY(h1.fontWeight() >= QFont::Bold);
        QCOMPARE(formatAt(page, QStringLiteral("小見出し")).fontPointSize(), 12.0);
        const QTextCharFormat body = formatAt(page, QStringLiteral("本文の"));
        QCOMPARE(body.fontPointSize(), 9.0);
        QVERIFY(body.fontWeight() < QFont::DemiBold);
        QVERIFY(formatAt(page, QStringLiteral("斜体")).fontItalic());
        QVERIFY(formatAt(page, QStringLiteral("太字")).fontWeight() >= QFont::Bold);
        for (const char* code : {"code", "int x;"})
            QCOMPARE(formatAt(page, QLatin1String(code)).fontFamilies().toStringList().value(0),
                     QStringLiteral("ＭＳ ゴシック"));
        QCOMPARE(formatAt(page, QStringLiteral("外部")).anchorHref(),
                 QStringLiteral("https://example.com/a"));
        QCOMPARE(formatAt(page, QStringLiteral("操作へ")).anchorHref(), QStringLiteral("#2"));
        QCOMPARE(formatAt(page, QStringLiteral("二頁")).anchorHref(), QStringLiteral("#2"));

        int listItems = 0;
        QTextTable* table = nullptr;
        QTextImageFormat picture;
        for (QTextBlock b = page.begin(); b.isValid(); b = b.next()) {
            listItems += b.textList() != nullptr;
            if (!table)
                table = QTextCursor(b).currentTable();
            for (auto it = b.begin(); !it.atEnd(); ++it)
                if (it.fragment().charFormat().isImageFormat())
                    picture = it.fragment().charFormat().toImageFormat();
        }
        QCOMPARE(listItems, 4);
        QVERIFY(table);
        QCOMPARE(table->rows(), 3);
        QCOMPARE(table->columns(), 2);
        QCOMPARE(table->cellAt(0, 0).firstCursorPosition().block().text(), QStringLiteral("名前"));
        QCOMPARE(table->cellAt(2, 1).firstCursorPosition().block().text(), QStringLiteral("2"));
        // Each column is as wide as its widest cell, not only its heading.
        const QList<QTextLength> widths = table->format().columnWidthConstraints();
        QCOMPARE(widths.size(), 2);
        QVERIFY2(widths[0].rawValue() > 3 * widths[1].rawValue(),
                 qPrintable(
                     QStringLiteral("%1 %2").arg(widths[0].rawValue()).arg(widths[1].rawValue())));
        QVERIFY(picture.isValid());
        const rtf::Picture stored = rtf::pictureOf(page, picture);
        QCOMPARE(stored.kind, rtf::PictureKind::Png);
        QCOMPARE(stored.data, png);

        // The plain text page: its lines as paragraphs in the default font.
        auto doc = std::make_unique<HelpDocument>();
        QVERIFY(parseHelpFile(packed, *doc, Reader::Viewer).ok());
        QCOMPARE(rtf::plainText(doc->page(2).rtf), QStringLiteral("一行目\n二行目"));
        QVERIFY(doc->page(2).rtf.contains("\\fs18"));
    }

    // HTML pages are taken as the editor's paste takes them.
    void htmlPageReadsAsPasted() {
        QTemporaryDir dir;
        writeFiles(dir.path(), {{"help.toml", "[[page]]\nfile = \"pages/001.htm\"\n"},
                                {"pages/001.htm", "<h2>題</h2><p>本文 <i>斜</i> "
                                                  "<a href=\"#1\">戻る</a></p>"
                                                  "<table><tr><td>x</td><td>y</td></tr></table>"
                                                  "<img src=\"shot.png\">"},
                                {"pages/shot.png", quillo::test::pngBytes(6, 6, Qt::green)}});
        const helpsource::PackResult packed = helpsource::buildHelpFile(dir.path());
        QVERIFY2(packed.ok(), qPrintable(packed.problems.join(u'\n')));
        QTextDocument page;
        readFirstPage(packed.bytes, page);
        QVERIFY(page.toPlainText().contains(QStringLiteral("本文 斜 戻る")));
        QVERIFY(formatAt(page, QStringLiteral("斜")).fontItalic());
        QCOMPARE(formatAt(page, QStringLiteral("戻る")).anchorHref(), QStringLiteral("#1"));
        QVERIFY(formatAt(page, QStringLiteral("題")).fontWeight() >= QFont::Bold);
        QVERIFY(page.toPlainText().contains(QChar::ObjectReplacementCharacter));
    }

    // Every check of pack, each with the one line it reports.
    void problemsAreReportedByFileAndLine_data() {
        QTest::addColumn<QByteArray>("manifest");
        QTest::addColumn<Files>("pages");
        QTest::addColumn<QStringList>("problems");
        const Files page{{"pages/001.txt", "text"}};
        const QByteArray title33(33, 'T');
        QTest::newRow("101 pages")
            << manyPages(101) << page
            << QStringList{QStringLiteral("help.toml:301: page 101: a help file holds at most "
                                          "100 pages")};
        QTest::newRow("100 pages") << manyPages(100) << page << QStringList{};
        QTest::newRow("title of 33")
            << OnePage + "title = \"" + title33 + "\"\n"
            << page
            << QStringList{QStringLiteral("help.toml:3: title \"%1\" has 33 characters (at most "
                                          "32)")
                               .arg(QString::fromLatin1(title33))};
        QTest::newRow("title of 32 double-byte")
            << OnePage + "title = \"" + QString(32, QChar(0x3042)).toUtf8() + "\"\n"
            << page << QStringList{};
        QTest::newRow("keyword of 33")
            << OnePage + "keywords = [\n  \"ok\",\n  \"" + title33 + "\",\n]\n"
            << page
            << QStringList{QStringLiteral("help.toml:5: keyword \"%1\" has 33 characters (at "
                                          "most 32)")
                               .arg(QString::fromLatin1(title33))};
        QTest::newRow("65 keywords")
            << manyKeywords(65) << page
            << QStringList{QStringLiteral("help.toml:3: page 1 has 65 keywords (at most 64)")};
        QTest::newRow("64 keywords") << manyKeywords(64) << page << QStringList{};
        QTest::newRow("title not in code page 932")
            << OnePage + "title = \"café\"\n"
            << page
            << QStringList{QStringLiteral("help.toml:3: title \"café\": the character é (U+00E9) "
                                          "cannot be stored in code page 932")};
        QTest::newRow("keyword not in code page 932")
            << OnePage + "keywords = [\"a😀\"]\n"
            << page
            << QStringList{QStringLiteral("help.toml:3: keyword \"a😀\": the character 😀 "
                                          "(U+1F600) cannot be stored in code page 932")};
        QTest::newRow("missing page file")
            << QByteArray("[[page]]\nfile = \"pages/009.md\"\n") << Files{}
            << QStringList{QStringLiteral("help.toml:1: pages/009.md cannot be read (No such "
                                          "file or directory)")};
        QTest::newRow("unknown key in page")
            << OnePage + "titel = \"x\"\n"
            << page << QStringList{QStringLiteral("help.toml:3: unknown key \"titel\"")};
        QTest::newRow("unknown key at top")
            << "version = 2\n" + OnePage << page
            << QStringList{QStringLiteral("help.toml:1: unknown key \"version\"")};
        QTest::newRow("unknown display key")
            << "[display]\nwindowTopp = 3\n\n" + OnePage << page
            << QStringList{QStringLiteral("help.toml:2: unknown key \"windowTopp\"")};
        QTest::newRow("display out of range")
            << "[display]\nwindowWidth = 40000\nwindowState = 1\n\n" + OnePage << page
            << QStringList{QStringLiteral("help.toml:2: \"windowWidth\" must be a whole number "
                                          "from -32768 to 32767"),
                           QStringLiteral("help.toml:3: \"windowState\" must be 0 (normal) or 2 "
                                          "(maximised)")};
        QTest::newRow("format tag")
            << "formatTag = \"other tag\"\n" + OnePage << page
            << QStringList{QStringLiteral("help.toml:1: \"formatTag\" must be 16 characters "
                                          "starting with \"qzd32mk\"")};
        QTest::newRow("page without file")
            << QByteArray("[[page]]\ntitle = \"x\"\n") << page
            << QStringList{QStringLiteral("help.toml:1: page 1 has no \"file\""),
                           QStringLiteral("pages/001.txt: not listed in help.toml")};
        QTest::newRow("wrong type")
            << OnePage + "keywords = \"one\"\n"
            << page
            << QStringList{QStringLiteral("help.toml:3: \"keywords\" must be a list of strings")};
        QTest::newRow("unsupported page kind")
            << QByteArray("[[page]]\nfile = \"pages/001.doc\"\n") << Files{{"pages/001.doc", ""}}
            << QStringList{QStringLiteral(
                   "help.toml:1: pages/001.doc: pages are .rtf, .md, .html, .htm or .txt files")};
        QTest::newRow("unlisted page file")
            << OnePage << Files{{"pages/001.txt", "a"}, {"pages/002.md", "b"}}
            << QStringList{QStringLiteral("pages/002.md: not listed in help.toml")};
        QTest::newRow("TOML syntax")
            << OnePage + "title = \"unclosed\n"
            << page
            << QStringList{QStringLiteral("help.toml:3: Error while parsing string: unescaped "
                                          "control characters other than TAB (U+0009) are "
                                          "explicitly prohibited")};
        QTest::newRow("no pages") << QByteArray("# nothing\n") << Files{}
                                  << QStringList{QStringLiteral("help.toml: no [[page]] blocks")};
        QTest::newRow("text not UTF-8")
            << OnePage << Files{{"pages/001.txt", "\x82\xa0"}}
            << QStringList{QStringLiteral("pages/001.txt: not UTF-8 text")};
        QTest::newRow("Markdown picture and links")
            << QByteArray("[[page]]\nfile = \"pages/001.md\"\ntitle = \"概要\"\n")
            << Files{{"pages/001.md", "![a](gone.png) [b](#5) [c](#概要) [d](#なし) "
                                      "![e](https://example.com/e.png)\n"}}
            << QStringList{QStringLiteral("pages/001.md: picture \"gone.png\" cannot be read "
                                          "(No such file or directory)"),
                           QStringLiteral("pages/001.md: picture \"https://example.com/e.png\": "
                                          "give a file path relative to the page"),
                           QStringLiteral("pages/001.md: link to page 5: the help has 1 pages"),
                           QStringLiteral("pages/001.md: link to \"#なし\": no page has that "
                                          "title")};
        QTest::newRow("HTML picture")
            << QByteArray("[[page]]\nfile = \"pages/001.html\"\n")
            << Files{{"pages/001.html", "<p>a<img src=\"gone.png\"></p>"}}
            << QStringList{QStringLiteral("pages/001.html: picture \"gone.png\" cannot be read")};
    }
    void problemsAreReportedByFileAndLine() {
        QFETCH(QByteArray, manifest);
        QFETCH(Files, pages);
        QFETCH(QStringList, problems);
        QTemporaryDir dir;
        Files files = pages;
        files.insert(QStringLiteral("help.toml"), manifest);
        writeFiles(dir.path(), files);
        const helpsource::PackResult packed = helpsource::buildHelpFile(dir.path());
        QCOMPARE(packed.problems, problems);
        QCOMPARE(packed.bytes.isEmpty(), !problems.isEmpty());
    }

    // The tool reports every problem and leaves the old help file as it was.
    void packWritesNothingOnProblems() {
        QTemporaryDir dir;
        writeFiles(dir.path(), {{"src/help.toml", OnePage + "title = \"" + QByteArray(40, 'x') +
                                                      "\"\n\n[[page]]\nfile = \"pages/002.md\"\n"},
                                {"src/pages/001.txt", "a"},
                                {"out.qzd", "old"}});
        const QString out = dir.filePath(QStringLiteral("out.qzd"));
        const Run r = qzdtool({QStringLiteral("pack"), dir.filePath(QStringLiteral("src")), out});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.contains(QStringLiteral("help.toml:3: title")), qPrintable(r.err));
        QVERIFY2(r.err.contains(QStringLiteral("help.toml:5: pages/002.md cannot be read")),
                 qPrintable(r.err));
        QCOMPARE(contents(out), QByteArray("old"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("out.qzd")});
    }

    // A folder with other files is only written with --force, which replaces the manifest and
    // the page files (also those of pages the file no longer has) and keeps everything else.
    void forceKeepsForeignFiles() {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("help"));
        const QString sample = QStringLiteral(QUILLO_SAMPLES "/sample.qzd");
        QCOMPARE(
            qzdtool({QStringLiteral("unpack"), sample, folder, QStringLiteral("--markdown")}).code,
            0);
        writeFiles(folder, {{"README.md", "ours"},
                            {"pages/img/logo.png", "logo"},
                            {"pages/notes.txt", "notes"},
                            {"pages/099.rtf", "a page the file does not have"},
                            {"help.toml", "edited"}});
        const Run refused = qzdtool({QStringLiteral("unpack"), sample, folder});
        QCOMPARE(refused.code, 1);
        QVERIFY2(refused.err.contains(QStringLiteral("the folder is not empty")),
                 qPrintable(refused.err));
        QCOMPARE(contents(QDir(folder).filePath(QStringLiteral("help.toml"))),
                 QByteArray("edited"));

        QCOMPARE(
            qzdtool({QStringLiteral("unpack"), QStringLiteral("--force"), sample, folder}).code, 0);
        const QDir result(folder);
        QCOMPARE(contents(result.filePath(QStringLiteral("README.md"))), QByteArray("ours"));
        QCOMPARE(contents(result.filePath(QStringLiteral("pages/img/logo.png"))),
                 QByteArray("logo"));
        QCOMPARE(contents(result.filePath(QStringLiteral("pages/notes.txt"))), QByteArray("notes"));
        QVERIFY(!result.exists(QStringLiteral("pages/099.rtf")));
        QVERIFY(!result.exists(QStringLiteral("pages/001.md"))); // no --markdown this time
        QVERIFY(contents(result.filePath(QStringLiteral("help.toml"))).contains("[[page]]"));
        const QString out = dir.filePath(QStringLiteral("again.qzd"));
        QCOMPARE(qzdtool({QStringLiteral("pack"), folder, out}).code, 0);
        QCOMPARE(contents(out), contents(sample));
    }

    // The same folder gives the same bytes, and a packed Markdown page stays as it is when the
    // file goes through unpack and pack again.
    void packIsDeterministic() {
        QTemporaryDir dir;
        writeFiles(dir.path(),
                   {{"help.toml", "[display]\nbackColor = 0x00FFEEDD\nlistWidth = 250\n\n"
                                  "[[page]]\nfile = \"pages/001.md\"\ntitle = \"\"\n"
                                  "keywords = [\"二\", \"一\"]\n"},
                    {"pages/p.png", quillo::test::pngBytes(8, 8, Qt::blue)},
                    {"pages/001.md", "## 見出し\n\n| a | b |\n|---|---|\n| 1 | 2 |\n\n"
                                     "- x\n\n![p](p.png) [自分](#1)\n"}});
        const helpsource::PackResult first = helpsource::buildHelpFile(dir.path());
        QVERIFY2(first.ok(), qPrintable(first.problems.join(u'\n')));
        QCOMPARE(helpsource::buildHelpFile(dir.path()).bytes, first.bytes);
        QTemporaryDir again;
        QCOMPARE(unpackAndPack(first.bytes, again.path()), first.bytes);

        auto doc = std::make_unique<HelpDocument>();
        QVERIFY(parseHelpFile(first.bytes, *doc, Reader::Maker).ok());
        QCOMPARE(doc->page(1).title, std::optional<QString>(QString()));
        QCOMPARE(doc->page(1).keywords, (QStringList{QStringLiteral("二"), QStringLiteral("一")}));
        QCOMPARE(doc->displaySettings.backColor, qint32(0x00FFEEDD));
        QCOMPARE(doc->displaySettings.listWidth, qint16(2000)); // the writer's minimum rule
    }

    // The manifest a reviewer reads: one block per page, one keyword per line, no title key
    // for a page without one.
    void manifestLayout() {
        helpsource::Manifest manifest;
        manifest.display.windowTop = 300;
        helpsource::ManifestPage titled;
        titled.file = QStringLiteral("pages/001.rtf");
        titled.title = QStringLiteral("操作\"方法\"");
        titled.keywords = {QStringLiteral("印刷"), QStringLiteral("a\\b")};
        helpsource::ManifestPage untitled;
        untitled.file = QStringLiteral("pages/002.rtf");
        manifest.pages = {titled, untitled};
        const QByteArray text = helpsource::writeManifest(manifest);
        QVERIFY(text.contains("formatTag = \"qzd32mk Ver2.01 \"\n\n[display]\n"
                              "backColor = 0x80000005\nwindowTop = 300\n"));
        QVERIFY(text.contains(QStringLiteral("[[page]]\nfile = \"pages/001.rtf\"\n"
                                             "title = \"操作\\\"方法\\\"\"\nkeywords = [\n"
                                             "  \"印刷\",\n  \"a\\\\b\",\n]\n\n"
                                             "[[page]]\nfile = \"pages/002.rtf\"\n"
                                             "keywords = []\n")
                                  .toUtf8()));
        helpsource::Manifest read;
        QStringList problems;
        helpsource::readManifest(text, read, problems);
        QCOMPARE(problems, QStringList{});
        QCOMPARE(read.pages.size(), 2);
        QCOMPARE(read.pages[0].title, titled.title);
        QCOMPARE(read.pages[0].keywords, titled.keywords);
        QVERIFY(!read.pages[1].title);
        QCOMPARE(read.display, manifest.display);
    }
};

QTEST_MAIN(TestHelpSource)
#include "tst_helpsource.moc"
