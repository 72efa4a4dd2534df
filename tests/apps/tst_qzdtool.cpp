#include "core/helpdocument.h"
#include "core/helpfile.h"
#include "support/hostilepages.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <fcntl.h>
#include <grp.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Run {
    int code = -1;
    QByteArray out;
    QByteArray err;
};

// Runs the real tool as a writer's script would; `asUser` runs it as a user without the
// administrator's rights when the test runs as the administrator.
Run qzdtool(const QStringList& args, bool asUser = false) {
    QProcess p;
    if (asUser && ::geteuid() == 0)
        p.setChildProcessModifier([] {
            const gid_t nobody = 65534;
            if (::setgroups(1, &nobody) != 0 || ::setgid(nobody) != 0 || ::setuid(nobody) != 0)
                ::_exit(99);
        });
    p.start(QStringLiteral(QUILLO_BIN_DIR "/qzdtool"), args);
    Run r;
    if (!p.waitForFinished(20000))
        return r;
    r.code = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

QString data(const char* name) {
    return QStringLiteral(QUILLO_TEST_DATA "/core/") + QLatin1String(name);
}

QString rtfData(const char* name) {
    return QStringLiteral(QUILLO_TEST_DATA "/rtf/") + QLatin1String(name);
}

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestQzdtool : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void info() {
        const Run r = qzdtool({QStringLiteral("info"), data("japanese.qzd")});
        QCOMPARE(r.code, 0);
        QJsonParseError error;
        const QJsonObject o = QJsonDocument::fromJson(r.out, &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(o[QStringLiteral("formatTag")].toString(), QStringLiteral("qzd32mk Ver2.01 "));
        QCOMPARE(o[QStringLiteral("backColor")].toDouble(), double(qint32(0x80000005)));
        QCOMPARE(o[QStringLiteral("windowTop")].toInt(), 300);
        QCOMPARE(o[QStringLiteral("listWidth")].toInt(), 2500);
        QCOMPARE(o[QStringLiteral("pageCount")].toInt(), 3);
        const QJsonArray pages = o[QStringLiteral("pages")].toArray();
        QCOMPARE(pages.size(), 3);
        QCOMPARE(pages[0][QStringLiteral("title")].toString(), QStringLiteral("操作方法"));
        QVERIFY(pages[1][QStringLiteral("title")].isNull());
        QCOMPARE(pages[0][QStringLiteral("keywords")].toArray().at(1).toString(),
                 QStringLiteral("印刷"));
        QCOMPARE(pages[2][QStringLiteral("rtfLength")].toInt(), 13);
    }

    // The tag is the file's own, not the one this writer would put there.
    void infoReportsFileTag() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("old.qzd"));
        QByteArray bytes = contents(data("minimal.qzd"));
        bytes.replace(0, 16, "qzd32mk Ver1.00 ");
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        f.close();
        const Run r = qzdtool({QStringLiteral("info"), file});
        QCOMPARE(r.code, 0);
        const QJsonObject o = QJsonDocument::fromJson(r.out).object();
        QCOMPARE(o[QStringLiteral("formatTag")].toString(), QStringLiteral("qzd32mk Ver1.00 "));
    }

    void checkAndFailures_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("errContains");
        QTest::newRow("readable") << QStringList{QStringLiteral("check"), data("minimal.qzd")} << 0
                                  << QString();
        QTest::newRow("wrong tag") << QStringList{QStringLiteral("check"), data("wrongtag.qzd")}
                                   << 1 << QStringLiteral("wrongtag.qzd: not a Quillo32 help file");
        QTest::newRow("bad field")
            << QStringList{QStringLiteral("info"), data("too_many_pages.qzd")} << 1
            << QStringLiteral("too_many_pages.qzd: bad pageCount");
        QTest::newRow("missing") << QStringList{QStringLiteral("check"),
                                                QStringLiteral("/no/such.qzd")}
                                 << 1 << QStringLiteral("/no/such.qzd: cannot open");
        QTest::newRow("no command") << QStringList{} << 2 << QStringLiteral("Usage");
        QTest::newRow("unknown") << QStringList{QStringLiteral("frob")} << 2
                                 << QStringLiteral("unknown command");
        QTest::newRow("missing argument")
            << QStringList{QStringLiteral("resave"), data("minimal.qzd")} << 2
            << QStringLiteral("Usage");
    }
    void checkAndFailures() {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, errContains);
        const Run r = qzdtool(args);
        QCOMPARE(r.code, code);
        QVERIFY2(QString::fromUtf8(r.err).contains(errContains), r.err.constData());
        if (code == 1)
            QCOMPARE(r.err.count('\n'), 1); // one line naming the file and the reason
    }

    // What is no help file is refused at once, never read whole or waited on.
    void specialFiles_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("/dev/zero") << QStringLiteral("device");
        QTest::newRow("FIFO") << QStringLiteral("fifo");
        QTest::newRow("sparse 3 GB") << QStringLiteral("sparse");
    }
    void specialFiles() {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("h.qzd"));
        if (kind == QLatin1String("device"))
            path = QStringLiteral("/dev/zero");
        else if (kind == QLatin1String("fifo"))
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else
            QVERIFY(QFile(path).open(QIODevice::WriteOnly) && QFile::resize(path, 3LL << 30));
        for (const char* command : {"info", "check"}) {
            const Run r = qzdtool({QLatin1String(command), path});
            QCOMPARE(r.code, 1);
            QCOMPARE(QString::fromUtf8(r.err),
                     path + QStringLiteral(": not a Quillo32 help file\n"));
        }
    }

    // A file another program holds is waited for a moment, then reported in use.
    void lockedTarget() {
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("out.qzd"));
        QVERIFY(QFile::copy(data("minimal.qzd"), out));
        const int held = ::open(QFile::encodeName(out).constData(), O_RDONLY);
        QCOMPARE(::flock(held, LOCK_EX), 0);
        const Run r = qzdtool({QStringLiteral("resave"), data("japanese.qzd"), out});
        ::close(held);
        QCOMPARE(r.code, 1);
        QCOMPARE(QString::fromUtf8(r.err),
                 out + QStringLiteral(": cannot write (the file is in use by another program)\n"));
        QCOMPARE(contents(out), contents(data("minimal.qzd")));
    }

    // A folder that may not be written is named, not the file.
    void readOnlyFolder() {
        QTemporaryDir dir;
        QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7755)));
        const QString folder = dir.filePath(QStringLiteral("locked"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("locked")));
        QVERIFY(QFile::setPermissions(folder, QFileDevice::Permissions(0x5555)));
        const QString out = folder + QStringLiteral("/h.qzd");
        const Run r = qzdtool({QStringLiteral("resave"), data("minimal.qzd"), out}, true);
        QCOMPARE(r.code, 1);
        // The system's own words for the cause follow in brackets.
        QVERIFY2(QString::fromUtf8(r.err).startsWith(
                     out + QStringLiteral(": cannot write into the folder ") + folder +
                     QStringLiteral(" (")),
                 r.err.constData());
        QVERIFY(!QFile::exists(out));
    }

    void help() {
        const Run r = qzdtool({QStringLiteral("--help")});
        QCOMPARE(r.code, 0);
        QVERIFY(r.out.contains("resave IN.qzd OUT.qzd"));
    }

    // The tool takes a file name as the bytes the shell gives it: a name in Shift_JIS or
    // with a stray byte is read and written under that very name.
    void nonUtf8FileNames() {
        QTemporaryDir dir;
        int files = 0;
        for (const char* octal : {"\\203\\145\\203\\130\\203\\147.qzd", "bad\\377.qzd"}) {
            // printf turns the octal escapes into raw bytes, which QProcess cannot pass.
            const auto run = [&](const char* script) {
                QProcess p;
                p.start(QStringLiteral("/bin/sh"),
                        {QStringLiteral("-c"), QLatin1String(script),
                         QStringLiteral(QUILLO_BIN_DIR "/qzdtool"), data("japanese.qzd"),
                         dir.path(), QLatin1String(octal)});
                p.waitForFinished(20000);
                return std::make_pair(p.exitCode(), p.readAllStandardOutput());
            };
            QCOMPARE(run("exec \"$0\" resave \"$1\" \"$2/$(printf \"$3\")\"").first, 0);
            const auto info = run("exec \"$0\" info \"$2/$(printf \"$3\")\"");
            QCOMPARE(info.first, 0);
            QVERIFY(info.second.contains("\"pages\""));
            // Nothing was written under another name.
            QCOMPARE(run("ls -A \"$2\" | wc -l").second.trimmed().toInt(), ++files);
        }
        // Qt cannot name these files to remove them.
        QProcess::execute(QStringLiteral("rm"), {QStringLiteral("-rf"), dir.path()});
    }

    void resaveAppliesDefaults() {
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("out.qzd"));
        QCOMPARE(qzdtool({QStringLiteral("resave"), data("settings_edge.qzd"), out}).code, 0);
        QFile f(out);
        QVERIFY(f.open(QIODevice::ReadOnly));
        // top 0 -> 200, left -1 -> 200, height 500 -> 6500, width 999 -> 9000, list 250 -> 2000.
        QCOMPARE(f.read(46).mid(16), QByteArray("8000000F00C800C81964232807D000"));
    }

    // text and check over the pages of a help file, rtf2text and rtf2html on page files.
    void pageCommands() {
        QTemporaryDir dir;
        auto doc = std::make_unique<quillo::HelpDocument>();
        doc->pages.resize(2);
        doc->page(1).rtf = contents(rtfData("richedit20_japanese.rtf"));
        doc->page(2).rtf = contents(rtfData("libreoffice.rtf"));
        const QString file = dir.filePath(QStringLiteral("tool.qzd"));
        QVERIFY(quillo::saveHelpFile(file, *doc).ok());
        const QByteArray page1 = contents(rtfData("richedit20_japanese.txt"));
        const QByteArray page2 = contents(rtfData("libreoffice.txt"));
        QVERIFY(!page1.isEmpty() && !page2.isEmpty());

        Run r = qzdtool({QStringLiteral("text"), file});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out, page1 + '\f' + page2 + '\n');
        r = qzdtool({QStringLiteral("text"), file, QStringLiteral("2")});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out, page2 + '\n');
        r = qzdtool({QStringLiteral("text"), file, QStringLiteral("3")});
        QCOMPARE(r.code, 1);
        QVERIFY(r.err.contains("no page 3"));
        QCOMPARE(qzdtool({QStringLiteral("check"), file}).code, 0);

        // A long table's text is the table's, row after row, with nothing where the programs
        // show it in parts (after every thousand rows of three cells).
        doc->page(2).rtf = quillo::test::tablePage(2100, 3);
        QVERIFY(quillo::saveHelpFile(file, *doc).ok());
        r = qzdtool({QStringLiteral("text"), file, QStringLiteral("2")});
        QCOMPARE(r.code, 0);
        QVERIFY(r.out.contains("999.2\n1000.0\n"));
        QVERIFY(r.out.contains("1999.2\n2000.0\n"));
        QVERIFY(!r.out.contains("\n\n"));

        doc->page(2).rtf = "{\\rtf1 unfinished";
        QVERIFY(quillo::saveHelpFile(file, *doc).ok());
        r = qzdtool({QStringLiteral("check"), file});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.contains("page 2: 1 unclosed group(s)"), r.err.constData());

        r = qzdtool({QStringLiteral("rtf2text"), rtfData("word2003.rtf")});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out, contents(rtfData("word2003.txt")) + '\n');
        QCOMPARE(qzdtool({QStringLiteral("rtf2text")}).code, 2);

        const QString html = dir.filePath(QStringLiteral("html/page.htm"));
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("html"))));
        QCOMPARE(qzdtool({QStringLiteral("rtf2html"), rtfData("wordpad.rtf"), html}).code, 0);
        QVERIFY(contents(html).contains("<img src=\"page_files/image2.png\""));
        for (const char* picture : {"image1.png", "image2.png", "image3.png"})
            QVERIFY2(
                !QImage(dir.filePath(QStringLiteral("html/page_files/")) + QLatin1String(picture))
                     .isNull(),
                picture);
    }

    // export-html: the whole site or one page into a folder made when missing; pictures in a
    // folder beside their page; exit 1 with one line naming the file and the reason.
    void exportHtml() {
        QTemporaryDir dir;
        auto doc = std::make_unique<quillo::HelpDocument>();
        doc->pages.resize(9);
        for (int p = 1; p <= 9; ++p)
            doc->page(p).rtf = QByteArray("{\\rtf1\\ansi page ") + QByteArray::number(p) + "\\par}";
        doc->page(2).rtf = contents(rtfData("wordpad.rtf"));
        const QString file = dir.filePath(QStringLiteral("guide.v2.qzd"));
        QVERIFY(quillo::saveHelpFile(file, *doc).ok());
        const QString out = dir.filePath(QStringLiteral("out/site"));

        Run r = qzdtool({QStringLiteral("export-html"), file, out});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.err, QByteArray());
        QStringList expected = {QStringLiteral("guide_conts.htm"),
                                QStringLiteral("guide_index.htm"),
                                QStringLiteral("guide_keys.htm")};
        for (int p = 1; p <= 9; ++p)
            expected << QStringLiteral("guide_%1.htm").arg(p);
        expected.sort();
        QStringList written = QDir(out).entryList(QDir::Files, QDir::Name);
        QCOMPARE(written, expected);
        QVERIFY(contents(out + QStringLiteral("/guide_7.htm")).contains("page 7"));
        QVERIFY(!QImage(out + QStringLiteral("/guide_2_files/image1.png")).isNull());
        QVERIFY(contents(out + QStringLiteral("/guide_2.htm"))
                    .contains("src=\"guide_2_files/image1.png\""));

        // --page 7 into a fresh folder: the navigation pages and that page only.
        const QString one = dir.filePath(QStringLiteral("one"));
        r = qzdtool({QStringLiteral("export-html"), file, one, QStringLiteral("--page"),
                     QStringLiteral("7")});
        QCOMPARE(r.code, 0);
        QCOMPARE(
            QDir(one).entryList(QDir::Files, QDir::Name),
            QStringList({QStringLiteral("guide_7.htm"), QStringLiteral("guide_conts.htm"),
                         QStringLiteral("guide_index.htm"), QStringLiteral("guide_keys.htm")}));
    }

    void exportHtmlFailures_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        // A page that is not one of the file's is a usage error naming the pages there are.
        const QString pages = QStringLiteral("guide.qzd has pages 1 to 9\n");
        for (const char* page : {"10", "0", "-1", "x", "", "7.5"})
            QTest::newRow(qPrintable(QStringLiteral("page '%1'").arg(QLatin1String(page))))
                << QStringList{QStringLiteral("--page"), QLatin1String(page)} << 2 << pages;
        QTest::newRow("missing file") << QStringList{QStringLiteral("missing")} << 1
                                      << QStringLiteral("missing.qzd: cannot open");
        QTest::newRow("folder is a file") << QStringList{QStringLiteral("blocked")} << 1
                                          << QStringLiteral("blocked: cannot create the folder");
        QTest::newRow("page blocked") << QStringList{QStringLiteral("pageblocked")} << 1
                                      << QStringLiteral("guide_4.htm: cannot write (");
        QTest::newRow("no number")
            << QStringList{QStringLiteral("--page")} << 2 << QStringLiteral("unknown command");
    }
    void exportHtmlFailures() {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, message);
        QTemporaryDir dir;
        auto doc = std::make_unique<quillo::HelpDocument>();
        doc->pages.resize(9);
        QVERIFY(quillo::saveHelpFile(dir.filePath(QStringLiteral("guide.qzd")), *doc).ok());
        QFile blocker(dir.filePath(QStringLiteral("blocked")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("pageblocked/guide_4.htm"))));
        QString file = dir.filePath(QStringLiteral("guide.qzd"));
        QString out = dir.filePath(QStringLiteral("out"));
        if (args.first() == QLatin1String("missing"))
            file = dir.filePath(QStringLiteral("missing.qzd"));
        else if (args.first() != QLatin1String("--page"))
            out = dir.filePath(args.first());
        QStringList command = {QStringLiteral("export-html"), file, out};
        if (args.first() == QLatin1String("--page"))
            command << args;
        const Run r = qzdtool(command);
        QCOMPARE(r.code, code);
        QVERIFY2(r.err.contains(message.toUtf8()), r.err.constData());
        if (code == 1 || args.size() == 2)
            QCOMPARE(r.err.count('\n'), 1);
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("pageblocked/guide_5.htm"))));
    }

    // export-web: every page, the site's scripts and style, pictures beside their page; a
    // failure is one line naming the file, exit 1; other arguments are a usage error.
    void exportWeb() {
        QTemporaryDir dir;
        auto doc = std::make_unique<quillo::HelpDocument>();
        doc->pages.resize(4);
        for (int p = 1; p <= 4; ++p)
            doc->page(p).rtf = QByteArray("{\\rtf1\\ansi page ") + QByteArray::number(p) + "\\par}";
        doc->page(2).rtf = contents(rtfData("wordpad.rtf"));
        const QString file = dir.filePath(QStringLiteral("guide.qzd"));
        QVERIFY(quillo::saveHelpFile(file, *doc).ok());
        const QString out = dir.filePath(QStringLiteral("out/web"));
        Run r = qzdtool({QStringLiteral("export-web"), file, out});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.err, QByteArray());
        QCOMPARE(QDir(out).entryList(QDir::Files, QDir::Name),
                 QStringList({"index.html", "keywords.js", "page2.html", "page3.html", "page4.html",
                              "search-data.js", "site.css", "site.js"}));
        QVERIFY(contents(out + QStringLiteral("/page4.html")).contains("page 4"));
        QVERIFY(!QImage(out + QStringLiteral("/page2_files/image1.png")).isNull());

        QVERIFY(QFile::remove(out + QStringLiteral("/page3.html")));
        QVERIFY(QDir().mkpath(out + QStringLiteral("/page3.html")));
        r = qzdtool({QStringLiteral("export-web"), file, out});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.startsWith((out + QStringLiteral("/page3.html: cannot write (")).toUtf8()),
                 r.err.constData());
        QCOMPARE(r.err.count('\n'), 1);

        r = qzdtool({QStringLiteral("export-web"), file, file + QStringLiteral("/web")});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.contains("cannot create the folder"), r.err.constData());
        r = qzdtool({QStringLiteral("export-web"), dir.filePath(QStringLiteral("none.qzd")), out});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.contains("none.qzd: cannot open"), r.err.constData());
        QCOMPARE(qzdtool({QStringLiteral("export-web"), file}).code, 2);
    }

    // A title holding a byte that is no character: the whole site is made with "?" for it,
    // and standard error says so; the exit code is 0.
    void exportHtmlUndecodableTitle() {
        QTemporaryDir dir;
        auto doc = std::make_unique<quillo::HelpDocument>();
        doc->pages.resize(3);
        for (int p = 1; p <= 3; ++p)
            doc->page(p).rtf = "{\\rtf1\\ansi page " + QByteArray::number(p) + "\\par}";
        doc->page(2).title = QStringLiteral("qXq");
        const QString file = dir.filePath(QStringLiteral("odd.qzd"));
        QVERIFY(quillo::saveHelpFile(file, *doc).ok());
        QByteArray bytes = contents(file);
        QCOMPARE(bytes.count("qXq"), 1);
        bytes.replace("qXq", "q\x80q"); // 0x80 is no character in code page 932
        QFile patched(file);
        QVERIFY(patched.open(QIODevice::WriteOnly | QIODevice::Truncate));
        patched.write(bytes);
        patched.close();
        QCOMPARE(qzdtool({QStringLiteral("check"), file}).code, 0);

        const QString out = dir.filePath(QStringLiteral("site"));
        const Run r = qzdtool({QStringLiteral("export-html"), file, out});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.err.count('\n'), 1);
        QVERIFY2(r.err.contains("written as \"?\""), r.err.constData());
        QVERIFY(contents(out + QStringLiteral("/odd_conts.htm")).contains(">p 2  q?q</a>"));
        for (int p = 1; p <= 3; ++p)
            QVERIFY(contents(out + QStringLiteral("/odd_%1.htm").arg(p))
                        .contains("page " + QByteArray::number(p)));
    }

    // A link planted where rtf2html or export-html writes is replaced, never written through:
    // the file it points to stays as it was.
    void htmlCommandsReplacePlantedLinks_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("planted");
        QTest::newRow("rtf2html page") << QStringLiteral("rtf2html") << QStringLiteral("page.htm");
        QTest::newRow("rtf2html picture")
            << QStringLiteral("rtf2html") << QStringLiteral("page_files/image1.png");
        QTest::newRow("export-html start page")
            << QStringLiteral("export-html") << QStringLiteral("guide_index.htm");
        QTest::newRow("export-html page")
            << QStringLiteral("export-html") << QStringLiteral("guide_1.htm");
        QTest::newRow("export-html temporary rtf")
            << QStringLiteral("export-html") << QStringLiteral("guide_1.rtf");
    }
    void htmlCommandsReplacePlantedLinks() {
        QFETCH(QString, command);
        QFETCH(QString, planted);
        QTemporaryDir dir;
        auto doc = std::make_unique<quillo::HelpDocument>();
        doc->pages.resize(1);
        doc->page(1).rtf = contents(rtfData("wordpad.rtf"));
        const QString file = dir.filePath(QStringLiteral("guide.qzd"));
        QVERIFY(quillo::saveHelpFile(file, *doc).ok());
        const QString victim = dir.filePath(QStringLiteral("victim.txt"));
        QFile v(victim);
        QVERIFY(v.open(QIODevice::WriteOnly));
        v.write("untouched");
        v.close();
        const QString out = dir.filePath(QStringLiteral("out"));
        QVERIFY(QDir().mkpath(QFileInfo(out + QLatin1Char('/') + planted).path()));
        QVERIFY(QFile::link(victim, out + QLatin1Char('/') + planted));

        const Run r =
            command == QLatin1String("rtf2html")
                ? qzdtool({command, rtfData("wordpad.rtf"), out + QStringLiteral("/page.htm")})
                : qzdtool({command, file, out});
        QCOMPARE(r.code, 0);
        QCOMPARE(contents(victim), QByteArray("untouched"));
        QVERIFY(QFile::exists(victim));
        const QFileInfo replaced(out + QLatin1Char('/') + planted);
        QVERIFY(!replaced.isSymLink());
        QCOMPARE(replaced.exists(), !planted.endsWith(QLatin1String(".rtf")));
    }

    // A picture that cannot be written fails the conversion with one line naming the file and
    // the reason, and no page is left linking to missing pictures.
    void rtf2htmlReportsFailedPictureWrite() {
        QTemporaryDir dir;
        // A file where the pictures' folder should be: no folder can be made there.
        QFile blocker(dir.filePath(QStringLiteral("page_files")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QString html = dir.filePath(QStringLiteral("page.htm"));
        const Run r = qzdtool({QStringLiteral("rtf2html"), rtfData("wordpad.rtf"), html});
        QCOMPARE(r.code, 1);
        QCOMPARE(r.err.count('\n'), 1);
        QVERIFY2(r.err.startsWith(QFile::encodeName(
                     dir.filePath(QStringLiteral("page_files/image1.png: cannot write (")))),
                 r.err.constData());
        QVERIFY(!QFile::exists(html));
    }
};

QTEST_MAIN(TestQzdtool)
#include "tst_qzdtool.moc"
