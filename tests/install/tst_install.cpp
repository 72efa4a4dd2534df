// Installs the build into a temporary prefix, as `cmake --install` does for a user, and checks
// the installed tree the way a desktop sees it: the programs, their files, the menu entries,
// the file type, the icons and the software-centre descriptions. Checks that need a desktop
// tool skip with a message when the tool is not installed.
#include "core/helpdocument.h"
#include "core/helpfile.h"
#include "winsvc/appenv.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <algorithm>
#include <memory>

using namespace quillo;

namespace {

struct Run {
    bool finished = false;
    int code = -1;
    QString out; // standard output and standard error together
};

Run run(const QString& program, const QStringList& args,
        const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(),
        int timeoutMs = 60000) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    Run r;
    r.finished = p.waitForFinished(timeoutMs) && p.exitStatus() == QProcess::NormalExit;
    r.code = p.exitCode();
    r.out = QString::fromUtf8(p.readAll());
    return r;
}

QString tool(const char* name) {
    return QStandardPaths::findExecutable(QLatin1String(name));
}

#define REQUIRE_TOOL(path, name)                                                                   \
    const QString path = tool(name);                                                               \
    if (path.isEmpty())                                                                            \
        QSKIP(name " is not installed");

// The keys of the [Desktop Entry] group of a desktop file.
QHash<QString, QString> desktopEntry(const QString& path) {
    QFile file(path);
    QHash<QString, QString> keys;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return keys;
    bool inEntry = false;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1Char('[')))
            inEntry = line == QLatin1String("[Desktop Entry]");
        else if (const qsizetype eq = line.indexOf(QLatin1Char('=')); inEntry && eq > 0)
            keys.insert(line.left(eq).trimmed(), line.mid(eq + 1).trimmed());
    }
    return keys;
}

// The text of every element `name` in an XML file, with the value of `attribute` when given.
QStringList xmlValues(const QString& path, const QString& name, const QString& attribute = {}) {
    QFile file(path);
    QStringList values;
    if (!file.open(QIODevice::ReadOnly))
        return values;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != name)
            continue;
        values << (attribute.isEmpty() ? xml.readElementText()
                                       : xml.attributes().value(attribute).toString());
    }
    return xml.hasError() ? QStringList{QStringLiteral("XML error: ") + xml.errorString()} : values;
}

} // namespace

class TestInstall : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_prefix;

    QString installed(const QString& relative) const { return m_prefix + '/' + relative; }

    // An environment that sees only the installed tree's shared data, as a desktop would
    // after installing into that prefix.
    QProcessEnvironment desktopEnvironment(const QString& desktop) const {
        QProcessEnvironment env;
        env.insert(QStringLiteral("PATH"), qEnvironmentVariable("PATH"));
        env.insert(QStringLiteral("HOME"), m_dir->path());
        env.insert(QStringLiteral("XDG_DATA_HOME"), m_dir->filePath(QStringLiteral("home-data")));
        env.insert(QStringLiteral("XDG_DATA_DIRS"), installed(QStringLiteral("share")));
        if (!desktop.isEmpty())
            env.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), desktop);
        return env;
    }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_prefix = m_dir->filePath(QStringLiteral("prefix"));
        const Run r = run(QStringLiteral(QUILLO_CMAKE),
                          {QStringLiteral("--install"), QStringLiteral(QUILLO_BUILD_DIR),
                           QStringLiteral("--prefix"), m_prefix});
        QVERIFY2(r.finished && r.code == 0, qPrintable(r.out));
    }

    void programs_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("display");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("expected");
        for (const char* display : {"", ":873"}) { // none, and one that no server answers
            const QString tag = *display ? QStringLiteral(" (no server)") : QString();
            for (const char* program : {"qzd32", "qzd32mk", "qzdtool"}) {
                QTest::newRow(qPrintable(program + QStringLiteral(" --version") + tag))
                    << program << "--version" << display << 0
                    << QStringLiteral("^%1 \\d+\\.\\d+\\.\\d+\\n$").arg(program);
                QTest::newRow(qPrintable(program + QStringLiteral(" --help") + tag))
                    << program << "--help" << display << 0
                    << QStringLiteral("^Usage: %1 .*--version").arg(program);
            }
            for (const char* program : {"qzd32", "qzd32mk"})
                QTest::newRow(qPrintable(program + QStringLiteral(" without display") + tag))
                    << program << "sample.qzd" << display << 1
                    << QStringLiteral("^%1: no display found; [^\\n]*QT_QPA_PLATFORM\\n$")
                           .arg(program);
        }
    }

    // Each program runs from the installed folder: --help and --version need no display, and
    // a window program without one says so in one line instead of aborting.
    void programs() {
        QFETCH(QString, program);
        QFETCH(QString, argument);
        QFETCH(QString, display);
        QFETCH(int, code);
        QFETCH(QString, expected);
        QProcessEnvironment env = desktopEnvironment({});
        if (!display.isEmpty())
            env.insert(QStringLiteral("DISPLAY"), display);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir->path());
        const Run r = run(installed("bin/" + program), {argument}, env);
        QVERIFY2(r.finished && r.code == code, qPrintable(r.out));
        QVERIFY2(r.out.contains(
                     QRegularExpression(expected, QRegularExpression::DotMatchesEverythingOption)),
                 qPrintable(r.out));
    }

    void helpFiles_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("own help") << "qzd32.qzd";
        QTest::newRow("sample") << "sample.qzd";
    }

    void helpFiles() {
        QFETCH(QString, name);
        HelpDocument doc;
        QVERIFY(readHelpFile(installed("share/quillo32/" + name), doc, Reader::Viewer).ok());
        QVERIFY(doc.pageCount() > 0);
    }

    // The authoring program starts the viewer beside itself, else the one on PATH, with the
    // help file of the installed tree, found from the program's folder even though this
    // tree was installed into another prefix than the build was configured for.
    void viewerFromMakerFolder() {
        const QString bin = installed(QStringLiteral("bin"));
        QCOMPARE(findProgram(QStringLiteral("qzd32"), bin), bin + "/qzd32");
        QCOMPARE(findResource(QStringLiteral("qzd32.qzd"), bin),
                 installed(QStringLiteral("share/quillo32/qzd32.qzd")));

        const QString elsewhere = m_dir->filePath(QStringLiteral("elsewhere"));
        QVERIFY(QDir().mkpath(elsewhere));
        QFile notAProgram(elsewhere + "/qzd32"); // beside, but not executable
        QVERIFY(notAProgram.open(QIODevice::WriteOnly));
        notAProgram.close();
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", bin.toLocal8Bit());
        const QString onPath = findProgram(QStringLiteral("qzd32"), elsewhere);
        qputenv("PATH", elsewhere.toLocal8Bit());
        const QString nowhere = findProgram(QStringLiteral("qzd32"), elsewhere + "/none");
        qputenv("PATH", path);
        QCOMPARE(onPath, bin + "/qzd32");
        QCOMPARE(nowhere, elsewhere + "/none/qzd32");
    }

    void programsStart_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("file");
        QTest::newRow("viewer") << "qzd32" << installed("share/quillo32/sample.qzd");
        QTest::newRow("maker") << "qzd32mk" << installed("share/quillo32/sample.qzd");
        QTest::newRow("file named --help") << "qzd32"
                                           << "./--help";
    }

    // The installed programs come up on a display and stay up with a help file, also one
    // whose name looks like an option.
    void programsStart() {
        QFETCH(QString, program);
        QFETCH(QString, file);
        QFile::remove(m_dir->filePath(QStringLiteral("--help")));
        QVERIFY(QFile::copy(installed("share/quillo32/sample.qzd"),
                            m_dir->filePath(QStringLiteral("--help"))));
        QProcessEnvironment env = desktopEnvironment({});
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QUILLO_HOME"), m_dir->filePath(QStringLiteral("home")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir->path());
        QProcess p;
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(m_dir->path());
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(installed("bin/" + program), {file});
        QVERIFY(p.waitForStarted());
        const bool ended = p.waitForFinished(3000);
        const QByteArray output = p.readAll();
        p.kill();
        p.waitForFinished();
        QVERIFY2(!ended, output.constData());
        QVERIFY2(!output.contains("Usage"), output.constData());
    }

    // Run without QUILLO_HOME, the installed authoring program makes its settings folder in
    // the user's configuration folder and writes nothing beside itself, although this user
    // may write the program folder.
    void installedMakerKeepsOutOfItsFolder() {
        const QString bin = installed(QStringLiteral("bin"));
        const QStringList before = QDir(bin).entryList(QDir::Files);
        QVERIFY(!before.contains(QLatin1String(PortableMarkerName)));
        QVERIFY(QFileInfo(bin).isWritable());
        QProcessEnvironment env = desktopEnvironment({});
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir->filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir->path());
        QProcess p;
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(installed(QStringLiteral("bin/qzd32mk")),
                {installed(QStringLiteral("share/quillo32/sample.qzd"))});
        QVERIFY(p.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(
            QFileInfo(m_dir->filePath(QStringLiteral("config/quillo32"))).isDir(), 20000);
        p.kill();
        p.waitForFinished();
        QCOMPARE(QDir(bin).entryList(QDir::Files), before);
    }

    void desktopEntries_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("program");
        QTest::addColumn<bool>("opensHelpFiles");
        QTest::newRow("viewer") << "qzd32.desktop"
                                << "qzd32" << true;
        QTest::newRow("maker") << "qzd32mk.desktop"
                               << "qzd32mk" << true;
    }

    void desktopEntries() {
        QFETCH(QString, name);
        QFETCH(QString, program);
        QFETCH(bool, opensHelpFiles);
        const QString path = installed("share/applications/" + name);
        const QHash<QString, QString> entry = desktopEntry(path);
        QCOMPARE(entry.value(QStringLiteral("Exec")), program + " %f");
        QVERIFY(QFileInfo(installed("bin/" + program)).isExecutable());
        QVERIFY(!entry.value(QStringLiteral("Name[ja]")).isEmpty());
        QVERIFY(!entry.value(QStringLiteral("Comment[ja]")).isEmpty());
        QVERIFY2(QFile::exists(installed("share/icons/hicolor/scalable/apps/" +
                                         entry.value(QStringLiteral("Icon")) + ".svg")),
                 qPrintable(entry.value(QStringLiteral("Icon"))));
        const QStringList types = xmlValues(installed("share/mime/packages/quillo32.xml"),
                                            QStringLiteral("mime-type"), QStringLiteral("type"));
        const QStringList opened =
            entry.value(QStringLiteral("MimeType")).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        QCOMPARE(!opened.isEmpty() && opened == types, opensHelpFiles);
        // One main category, so that a menu lists the program once.
        static const QStringList mainCategories{
            "AudioVideo", "Audio",  "Video",   "Development", "Education", "Game",   "Graphics",
            "Network",    "Office", "Science", "Settings",    "System",    "Utility"};
        const QStringList categories =
            entry.value(QStringLiteral("Categories")).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        QCOMPARE(std::count_if(categories.cbegin(), categories.cend(),
                               [](const QString& c) { return mainCategories.contains(c); }),
                 1);

        REQUIRE_TOOL(validate, "desktop-file-validate");
        const Run r = run(validate, {path});
        QVERIFY2(r.finished && r.code == 0, qPrintable(r.out));
        QVERIFY2(!r.out.contains(QLatin1String("error:")), qPrintable(r.out));
        QVERIFY2(!r.out.contains(QLatin1String("warning:")), qPrintable(r.out));
    }

    void icons_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("viewer") << "apps/qzd32.svg";
        QTest::newRow("maker") << "apps/qzd32mk.svg";
        QTest::newRow("help file") << "mimetypes/application-x-quillo32-help.svg";
    }

    // Every icon is drawn into a 16-pixel image with something visible in it.
    void icons() {
        QFETCH(QString, path);
        const QString file = installed("share/icons/hicolor/scalable/" + path);
        QVERIFY2(QFile::exists(file), qPrintable(file));
        if (!QImageReader::supportedImageFormats().contains("svg"))
            QSKIP("Qt's SVG image plug-in (libqt6svg6) is not installed");
        QImageReader reader(file);
        reader.setScaledSize(QSize(16, 16));
        const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(image.size(), QSize(16, 16));
        int opaque = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                opaque += qAlpha(image.pixel(x, y)) > 128;
        QVERIFY2(opaque > 16 * 16 / 3, qPrintable(QString::number(opaque)));
    }

    // Both programs open help files; the viewer is the one a double-click starts.
    void viewerIsDefault() {
        REQUIRE_TOOL(updateDesktop, "update-desktop-database");
        REQUIRE_TOOL(xdgMime, "xdg-mime");
        const QProcessEnvironment env = desktopEnvironment(QStringLiteral("X-Generic"));
        const Run updated =
            run(updateDesktop, {installed(QStringLiteral("share/applications"))}, env);
        QVERIFY2(updated.finished && updated.code == 0, qPrintable(updated.out));
        const Run r = run(xdgMime,
                          {QStringLiteral("query"), QStringLiteral("default"),
                           QStringLiteral("application/x-quillo32-help")},
                          env);
        QVERIFY2(r.finished && r.code == 0, qPrintable(r.out));
        QCOMPARE(r.out.trimmed(), QStringLiteral("qzd32.desktop"));
    }

    void pngIcons_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("size");
        for (int size : {16, 24, 32, 48, 64, 128, 256})
            for (const char* icon :
                 {"apps/qzd32", "apps/qzd32mk", "mimetypes/application-x-quillo32-help"})
                QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(icon).arg(size)))
                    << QStringLiteral("share/icons/hicolor/%1x%1/%2.png").arg(size).arg(icon)
                    << size;
    }

    // For desktops that read no SVG: each size as a PNG of that size with transparency.
    void pngIcons() {
        QFETCH(QString, path);
        QFETCH(int, size);
        const QImage image(installed(path));
        QCOMPARE(image.size(), QSize(size, size));
        QVERIFY(image.hasAlphaChannel());
    }

    void manualPages_data() {
        QTest::addColumn<QString>("program");
        for (const char* program : {"qzd32", "qzd32mk", "qzdtool"})
            QTest::newRow(program) << program;
    }

    // Each program has a compressed manual page that names every option its --help lists.
    void manualPages() {
        QFETCH(QString, program);
        REQUIRE_TOOL(gzip, "gzip");
        const Run page =
            run(gzip, {QStringLiteral("-dc"), installed("share/man/man1/" + program + ".1.gz")});
        QVERIFY2(page.finished && page.code == 0, qPrintable(page.out));
        QVERIFY2(page.out.startsWith(QStringLiteral(".TH ") + program.toUpper() + ' '),
                 qPrintable(page.out.left(80)));
        const QString text = QString(page.out).replace(QStringLiteral("\\-"), QStringLiteral("-"));
        const Run help =
            run(installed("bin/" + program), {QStringLiteral("--help")}, desktopEnvironment({}));
        // The first word of each entry of the help text's lists: options, commands, files and
        // variables.
        static const QRegularExpression entry(QStringLiteral("^  ([^ ,]+)"),
                                              QRegularExpression::MultilineOption);
        QStringList words;
        for (auto it = entry.globalMatch(help.out); it.hasNext();)
            words << it.next().captured(1);
        QVERIFY2(words.contains(QLatin1String("--help")) &&
                     words.contains(QLatin1String("--version")),
                 qPrintable(help.out));
        for (const QString& word : std::as_const(words))
            QVERIFY2(text.contains(word), qPrintable(program + ": " + word));
    }

    void fileType_data() {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QString>("detector");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("isHelpFile");
        for (const auto& [desktop, detector] :
             {std::pair{"X-Generic", "mimetype"}, std::pair{"GNOME", "gio"}}) {
            const QString tag = QString::fromLatin1(desktop) + ": ";
            QTest::newRow(qPrintable(tag + "by extension"))
                << desktop << detector << "guide.qzd" << true;
            QTest::newRow(qPrintable(tag + "by content")) << desktop << detector << "guide" << true;
            QTest::newRow(qPrintable(tag + "other text"))
                << desktop << detector << "notes.txt" << false;
        }
    }

    // The file type, registered in the installed tree, names help files by their extension
    // and by their first bytes, as the desktop's own tools detect them.
    void fileType() {
        QFETCH(QString, desktop);
        QFETCH(QString, detector);
        QFETCH(QString, name);
        QFETCH(bool, isHelpFile);
        REQUIRE_TOOL(update, "update-mime-database");
        REQUIRE_TOOL(xdgMime, "xdg-mime");
        if (tool(qPrintable(detector)).isEmpty())
            QSKIP(qPrintable(detector + " is not installed"));
        const Run updated =
            run(update, {installed(QStringLiteral("share/mime"))}, desktopEnvironment(desktop));
        QVERIFY2(updated.finished && updated.code == 0 && updated.out.isEmpty(),
                 qPrintable(updated.out));

        const QString file = m_dir->filePath(name);
        QFile::remove(file);
        if (name.endsWith(QLatin1String(".txt"))) {
            QFile text(file);
            QVERIFY(text.open(QIODevice::WriteOnly));
            text.write("qzd32 is the viewer.\n");
        } else {
            QVERIFY(QFile::copy(installed(QStringLiteral("share/quillo32/sample.qzd")), file));
        }
        const Run r = run(xdgMime, {QStringLiteral("query"), QStringLiteral("filetype"), file},
                          desktopEnvironment(desktop));
        QVERIFY2(r.finished && r.code == 0, qPrintable(r.out));
        QCOMPARE(r.out.trimmed() == QLatin1String("application/x-quillo32-help"), isHelpFile);
    }

    void metainfo_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("viewer") << "org.example.quillo32.qzd32.metainfo.xml";
        QTest::newRow("maker") << "org.example.quillo32.qzd32mk.metainfo.xml";
    }

    // Each description names an installed desktop entry and program.
    void metainfo() {
        QFETCH(QString, name);
        const QString path = installed("share/metainfo/" + name);
        const QStringList launchables = xmlValues(path, QStringLiteral("launchable"));
        QCOMPARE(launchables.size(), 1);
        QVERIFY2(QFile::exists(installed("share/applications/" + launchables.first())),
                 qPrintable(launchables.first()));
        for (const QString& binary : xmlValues(path, QStringLiteral("binary")))
            QVERIFY2(QFileInfo(installed("bin/" + binary)).isExecutable(), qPrintable(binary));

        REQUIRE_TOOL(appstreamcli, "appstreamcli");
        const Run r = run(appstreamcli, {QStringLiteral("validate"), QStringLiteral("--no-net"),
                                         QStringLiteral("--strict"), path});
        QVERIFY2(r.finished && r.code == 0, qPrintable(r.out));
    }

    // The Debian package holds the installed tree under /usr, depends on what the programs
    // need at run time besides the libraries they link, and its programs run once unpacked.
    void debianPackage() {
        REQUIRE_TOOL(dpkgDeb, "dpkg-deb");
        if (tool("dpkg-shlibdeps").isEmpty())
            QSKIP("dpkg-shlibdeps (dpkg-dev) is not installed");
        const QString out = m_dir->filePath(QStringLiteral("package"));
        const Run made =
            run(QStringLiteral(QUILLO_CPACK),
                {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("--config"),
                 QStringLiteral(QUILLO_BUILD_DIR "/CPackConfig.cmake"), QStringLiteral("-B"), out},
                QProcessEnvironment::systemEnvironment(), 300000);
        QVERIFY2(made.finished && made.code == 0, qPrintable(made.out));
        const QStringList debs = QDir(out).entryList({QStringLiteral("*.deb")}, QDir::Files);
        QCOMPARE(debs.size(), 1);
        const QString deb = out + '/' + debs.first();

        const Run fields =
            run(dpkgDeb, {QStringLiteral("--field"), deb, QStringLiteral("Depends")});
        QVERIFY2(fields.finished && fields.code == 0, qPrintable(fields.out));
        for (const char* needed :
             {"libqt6widgets6", "libqt6printsupport6", "qt6-base-abi", "qt6-qpa-plugins",
              "libqt6svg6", "fonts-ipafont-gothic", "fonts-ipafont-mincho", "sensible-utils"})
            QVERIFY2(
                fields.out.contains(QRegularExpression(
                    QStringLiteral("(^|, )%1( |,|$)").arg(QLatin1String(needed)))),
                qPrintable(QLatin1String(needed) + QLatin1String(" missing in ") + fields.out));

        const QString root = m_dir->filePath(QStringLiteral("unpacked"));
        const Run unpacked = run(dpkgDeb, {QStringLiteral("-x"), deb, root});
        QVERIFY2(unpacked.finished && unpacked.code == 0, qPrintable(unpacked.out));
        for (const char* file :
             {"usr/share/applications/qzd32.desktop", "usr/share/mime/packages/quillo32.xml",
              "usr/share/icons/hicolor/scalable/apps/qzd32mk.svg", "usr/share/quillo32/qzd32.qzd"})
            QVERIFY2(QFile::exists(root + '/' + QLatin1String(file)), file);
        const Run version =
            run(root + QStringLiteral("/usr/bin/qzd32"), {QStringLiteral("--version")});
        QVERIFY2(version.finished && version.code == 0, qPrintable(version.out));

        // What Debian's checker finds wrong with the package: no error, no warning.
        const QString lintian = tool("lintian");
        QVERIFY2(!lintian.isEmpty(), "lintian is not installed (scripts/run-tests.sh installs it)");
        const Run checked =
            run(lintian, {QStringLiteral("--fail-on"), QStringLiteral("error,warning"), deb},
                QProcessEnvironment::systemEnvironment(), 300000);
        QVERIFY2(checked.finished && checked.code == 0, qPrintable(checked.out));
        static const QRegularExpression problem(QStringLiteral("^[EW]: "),
                                                QRegularExpression::MultilineOption);
        QVERIFY2(!checked.out.contains(problem), qPrintable(checked.out));
    }
};

QTEST_MAIN(TestInstall)
#include "tst_install.moc"
