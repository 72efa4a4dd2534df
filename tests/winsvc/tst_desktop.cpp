// What the programs share with the desktop: its recently-used list, and whether a display
// can be reached at all.
#include "winsvc/appenv.h"
#include "winsvc/desktoprecent.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QXmlStreamReader>

using namespace quillo;

namespace {

const QString BookmarkNs = QStringLiteral("http://www.freedesktop.org/standards/desktop-bookmarks");
const QString MimeNs = QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info");

// What a reader that honours the namespaces (as GLib's does) sees in the list: per address,
// its type and "program:count" for each program.
struct Seen {
    QString type;
    QStringList uses;
};

QMap<QString, Seen> readList(const QString& path, QString* error = nullptr) {
    QFile file(path);
    QMap<QString, Seen> list;
    if (!file.open(QIODevice::ReadOnly))
        return list;
    QXmlStreamReader xml(&file);
    QString href;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("bookmark") && xml.namespaceUri().isEmpty()) {
            href = xml.attributes().value(QLatin1String("href")).toString();
            list[href];
        } else if (xml.name() == QLatin1String("mime-type") && xml.namespaceUri() == MimeNs) {
            list[href].type = xml.attributes().value(QLatin1String("type")).toString();
        } else if (xml.name() == QLatin1String("application") && xml.namespaceUri() == BookmarkNs) {
            const QXmlStreamAttributes a = xml.attributes();
            list[href].uses << a.value(QLatin1String("name")).toString() + ':' +
                                   a.value(QLatin1String("count")).toString();
            if (!a.value(QLatin1String("exec")).contains(QLatin1String("%u")) ||
                a.value(QLatin1String("modified")).isEmpty())
                list[href].uses << QStringLiteral("bad application entry");
        }
    }
    if (error && xml.hasError())
        *error = xml.errorString();
    return list;
}

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TestDesktop : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_dir.isValid());
    }
    void init() { QFile::remove(desktopRecentFilesPath()); }

    // Opened, opened again, opened by the other program: one entry per file, a count per
    // program, and the help file type.
    void recentListCountsUses() {
        const QString a = m_dir.filePath(QStringLiteral("manual.qzd"));
        const QString b = m_dir.filePath(QStringLiteral("日本語 ヘルプ.qzd"));
        QVERIFY(addToDesktopRecentFiles(a, QStringLiteral("qzd32mk")));
        QVERIFY(addToDesktopRecentFiles(b, QStringLiteral("qzd32")));
        QVERIFY(addToDesktopRecentFiles(a, QStringLiteral("qzd32mk")));
        QVERIFY(addToDesktopRecentFiles(a, QStringLiteral("qzd32")));
        QString error;
        const QMap<QString, Seen> list = readList(desktopRecentFilesPath(), &error);
        QCOMPARE(error, QString());
        QCOMPARE(list.size(), 2);
        const QString hrefA = QString::fromLatin1(QUrl::fromLocalFile(a).toEncoded());
        const QString hrefB = QString::fromLatin1(QUrl::fromLocalFile(b).toEncoded());
        QVERIFY2(hrefB.contains(QLatin1String("%E6%97%A5")), qPrintable(hrefB)); // encoded
        QCOMPARE(list[hrefA].type, QStringLiteral("application/x-quillo32-help"));
        QCOMPARE(list[hrefA].uses, (QStringList{"qzd32mk:2", "qzd32:1"}));
        QCOMPARE(list[hrefB].uses, QStringList{"qzd32:1"});
    }

    // Other programs' entries and the parts of them this program does not know stay.
    void recentListKeepsOthers() {
        const QByteArray others =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<xbel version=\"1.0\" "
            "xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\" "
            "xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
            "  <bookmark href=\"file:///home/u/photo.png\" added=\"2026-01-01T00:00:00Z\" "
            "modified=\"2026-01-01T00:00:00Z\" visited=\"2026-01-01T00:00:00Z\">\n"
            "    <info><metadata owner=\"http://freedesktop.org\">"
            "<mime:mime-type type=\"image/png\"/>"
            "<bookmark:groups><bookmark:group>Graphics</bookmark:group></bookmark:groups>"
            "<bookmark:applications><bookmark:application name=\"Eye of GNOME\" "
            "exec=\"&apos;eog %u&apos;\" modified=\"2026-01-01T00:00:00Z\" count=\"3\"/>"
            "</bookmark:applications></metadata></info>\n"
            "  </bookmark>\n"
            "</xbel>\n";
        QVERIFY(QDir().mkpath(QFileInfo(desktopRecentFilesPath()).path()));
        writeBytes(desktopRecentFilesPath(), others);
        QVERIFY(addToDesktopRecentFiles(m_dir.filePath(QStringLiteral("a.qzd")),
                                        QStringLiteral("qzd32")));
        const QMap<QString, Seen> list = readList(desktopRecentFilesPath());
        QCOMPARE(list.size(), 2);
        QCOMPARE(list[QStringLiteral("file:///home/u/photo.png")].uses,
                 QStringList{"Eye of GNOME:3"});
        QCOMPARE(list[QStringLiteral("file:///home/u/photo.png")].type,
                 QStringLiteral("image/png"));
        QVERIFY(bytesOf(desktopRecentFilesPath()).contains("<bookmark:group>Graphics<"));
    }

    // A list this program cannot read is the desktop's to mend: it is left byte for byte.
    void unreadableRecentListIsLeftAlone() {
        const QByteArray broken = "<xbel version=\"1.0\"><bookmark href=\"file:///x\">";
        QVERIFY(QDir().mkpath(QFileInfo(desktopRecentFilesPath()).path()));
        writeBytes(desktopRecentFilesPath(), broken);
        QVERIFY(!addToDesktopRecentFiles(m_dir.filePath(QStringLiteral("a.qzd")),
                                         QStringLiteral("qzd32")));
        QCOMPARE(bytesOf(desktopRecentFilesPath()), broken);
    }

    void displayConfigured_data() {
        QTest::addColumn<QStringList>("variables");
        QTest::addColumn<bool>("configured");
        QTest::newRow("nothing") << QStringList() << false;
        QTest::newRow("x11") << QStringList{"DISPLAY=:0"} << true;
        QTest::newRow("wayland") << QStringList{"WAYLAND_DISPLAY=wayland-1"} << true;
        QTest::newRow("offscreen") << QStringList{"QT_QPA_PLATFORM=offscreen"} << true;
        QTest::newRow("xcb without display") << QStringList{"QT_QPA_PLATFORM=xcb"} << false;
        QTest::newRow("xcb with options")
            << QStringList{"QT_QPA_PLATFORM=xcb:nograb", "DISPLAY=:1"} << true;
        QTest::newRow("wayland, else xcb")
            << QStringList{"QT_QPA_PLATFORM=wayland;xcb", "DISPLAY=:1"} << true;
        QTest::newRow("wayland without compositor")
            << QStringList{"QT_QPA_PLATFORM=wayland", "DISPLAY=:1"} << false;
        QTest::newRow("empty display") << QStringList{"DISPLAY="} << false;
    }

    void displayConfigured() {
        QFETCH(QStringList, variables);
        QFETCH(bool, configured);
        QProcessEnvironment env;
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.path()); // no wayland-0 here
        for (const QString& v : variables)
            env.insert(v.section(QLatin1Char('='), 0, 0), v.section(QLatin1Char('='), 1));
        QCOMPARE(quillo::displayConfigured(env), configured);
    }
};

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
