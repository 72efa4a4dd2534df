#include "core/fileerror.h"
#include "core/helpfile.h"
#include "support/failingdevice.h"

#include <QFile>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <sys/stat.h>

using namespace quillo;
using quillo::test::FailingDevice;

namespace {

QString dataFile(const char* name) {
    return QStringLiteral(QUILLO_TEST_DATA "/core/") + QLatin1String(name);
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

std::unique_ptr<HelpDocument> newDoc() {
    return std::make_unique<HelpDocument>();
}

// A document with every kind of field filled in.
std::unique_ptr<HelpDocument> sampleDoc() {
    auto doc = newDoc();
    doc->pages.resize(3);
    DisplaySettings& s = doc->displaySettings;
    s.backColor = 0x00FFEEDD;
    s.windowTop = 1200;
    s.windowLeft = 1500;
    s.windowHeight = 7000;
    s.windowWidth = 9600;
    s.listWidth = 2400;
    s.topmost = 1;
    s.windowState = 0;
    doc->page(1).title = QStringLiteral("はじめに");
    doc->page(1).keywords = {QStringLiteral("開始"), QStringLiteral("ｷｰﾜｰﾄﾞ")};
    doc->page(3).title = QStringLiteral("Printing");
    doc->page(3).keywords = {QStringLiteral("開始")};
    doc->page(1).rtf = "{\\rtf1\\ansi page one\\par}";
    doc->page(2).rtf = "";
    doc->page(3).rtf = "{\\rtf1 three}";
    return doc;
}

// Compares everything the file carries.
void compareDocs(const HelpDocument& a, const HelpDocument& b) {
    QCOMPARE(a.displaySettings, b.displaySettings);
    QCOMPARE(a.pageCount(), b.pageCount());
    for (int p = 1; p <= a.pageCount(); ++p) {
        QCOMPARE(a.page(p).title, b.page(p).title);
        QCOMPARE(a.page(p).keywords, b.page(p).keywords);
        QCOMPARE(a.page(p).rtf, b.page(p).rtf);
    }
}

} // namespace

class TestHelpFile : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // The layout: a one-page document without title and keywords has 100 header bytes.
    void minimalLayout() {
        auto doc = newDoc();
        doc->pages.resize(1);
        doc->displaySettings.backColor = 0x80000005;
        doc->displaySettings.windowTop = -100;
        doc->displaySettings.windowLeft = 300;
        doc->displaySettings.windowHeight = 7000;
        doc->displaySettings.windowWidth = 9500;
        doc->displaySettings.listWidth = 250;
        doc->page(1).rtf = "{\\rtf1 x}";
        QByteArray out;
        QVERIFY(serializeHelpDocument(*doc, out).ok());
        const QByteArray expected = "qzd32mk Ver2.01 "
                                    "80000005"
                                    "00C8" // -100 is below 1: written as 200
                                    "012C" // 300
                                    "1B58" // 7000
                                    "251C" // 9500
                                    "07D0" // 250 is below 300: written as 2000
                                    "0"
                                    "0"
                                    "34"
                                    "1234123412341234123412341234"
                                    "0001"
                                    "1234567812345678"
                                    "00"
                                    "00"
                                    "00000009{\\rtf1 x}";
        QCOMPARE(out, expected);
        QCOMPARE(out.indexOf("00000009"), 100);
        // The defaults were applied to the document itself.
        QCOMPARE(doc->displaySettings.windowTop, qint16(200));
        QCOMPARE(doc->displaySettings.listWidth, qint16(2000));
    }

    void hexFields() {
        auto doc = newDoc();
        doc->pages.resize(0);
        doc->displaySettings.backColor = -1;
        doc->displaySettings.windowTop = 1;
        doc->displaySettings.windowLeft = 1;
        doc->displaySettings.windowHeight = 32767;
        doc->displaySettings.windowWidth = 1000;
        doc->displaySettings.listWidth = 300;
        doc->displaySettings.topmost = 1;
        doc->displaySettings.windowState = 2;
        QByteArray out;
        QVERIFY(serializeHelpDocument(*doc, out).ok());
        QCOMPARE(out.mid(16, 30), QByteArray("FFFFFFFF000100017FFF03E8012C12"));
        auto back = newDoc();
        QVERIFY(parseHelpFile(out, *back, Reader::Maker).ok());
        QCOMPARE(back->displaySettings.backColor, qint32(-1));
        QCOMPARE(back->displaySettings.topmost, qint16(1)); // the authoring program keeps it
    }

    void doubleByteTitle() {
        auto doc = newDoc();
        doc->pages.resize(1);
        doc->page(1).title = QStringLiteral("操作方法");
        QByteArray out;
        QVERIFY(serializeHelpDocument(*doc, out).ok());
        QCOMPARE(out.mid(96, 2), QByteArray("01"));
        QCOMPARE(out.mid(98, 4), QByteArray("0004"));
        QCOMPARE(out.mid(102, 8), QByteArray("\x91\x80\x8d\xec\x95\xfb\x96\x40"));
        QCOMPARE(out.mid(110, 2), QByteArray("00"));
    }

    void roundTrip() {
        auto doc = sampleDoc();
        QByteArray out;
        QVERIFY(serializeHelpDocument(*doc, out).ok());
        auto back = newDoc();
        QVERIFY(parseHelpFile(out, *back, Reader::Maker).ok());
        compareDocs(*doc, *back);
        QByteArray again;
        QVERIFY(serializeHelpDocument(*back, again).ok());
        QCOMPARE(again, out);
    }

    // Page text that is not 7-bit is counted in bytes on both sides.
    void eightBitPageText() {
        auto doc = newDoc();
        doc->pages.resize(2);
        doc->page(1).rtf = QByteArray("{\\rtf1 \x82\xa0\x82\xa2 \xb1}");
        doc->page(2).rtf = "{\\rtf1 next}";
        QByteArray out;
        QVERIFY(serializeHelpDocument(*doc, out).ok());
        auto back = newDoc();
        QVERIFY(parseHelpFile(out, *back, Reader::Maker).ok());
        QCOMPARE(back->page(1).rtf, doc->page(1).rtf);
        QCOMPARE(back->page(2).rtf, doc->page(2).rtf);
    }

    void readFiles_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("reader");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("pageCount");
        QTest::addColumn<int>("topmost");
        QTest::addColumn<int>("windowState");
        const int viewer = int(Reader::Viewer), maker = int(Reader::Maker);
        const int ok = int(ReadStatus::Ok), wrong = int(ReadStatus::WrongFormat),
                  bad = int(ReadStatus::BadField);
        QTest::newRow("minimal") << dataFile("minimal.qzd") << viewer << ok << 1 << 0 << 0;
        QTest::newRow("other version opens")
            << dataFile("othertag.qzd") << viewer << ok << 1 << 0 << 0;
        QTest::newRow("other tag refused")
            << dataFile("wrongtag.qzd") << viewer << wrong << 0 << 0 << 0;
        QTest::newRow("flags 3 and 1 read 0")
            << dataFile("settings_edge.qzd") << viewer << ok << 1 << 0 << 0;
        QTest::newRow("blank flags read 0")
            << dataFile("blank_flags.qzd") << viewer << ok << 1 << 0 << 0;
        QTest::newRow("viewer: maximised clears front")
            << dataFile("maximised_topmost.qzd") << viewer << ok << 1 << 0 << 2;
        QTest::newRow("maker keeps both")
            << dataFile("maximised_topmost.qzd") << maker << ok << 1 << 1 << 2;
        QTest::newRow("101 pages")
            << dataFile("too_many_pages.qzd") << viewer << bad << 0 << 0 << 0;
        QTest::newRow("65 keywords")
            << dataFile("too_many_keywords.qzd") << viewer << bad << 2 << 0 << 0;
        QTest::newRow("bad hex") << dataFile("bad_hex.qzd") << viewer << bad << 2 << 0 << 0;
        QTest::newRow("body past the end")
            << dataFile("short_body.qzd") << viewer << bad << 2 << 0 << 0;
    }
    void readFiles() {
        QFETCH(QString, file);
        QFETCH(int, reader);
        QFETCH(int, status);
        QFETCH(int, pageCount);
        QFETCH(int, topmost);
        QFETCH(int, windowState);
        auto doc = newDoc();
        const ReadResult r = readHelpFile(file, *doc, Reader(reader));
        QCOMPARE(int(r.status), status);
        QCOMPARE(int(doc->pageCount()), pageCount);
        QCOMPARE(int(doc->displaySettings.topmost), topmost);
        QCOMPARE(int(doc->displaySettings.windowState), windowState);
    }

    void settingsAreReadAsStored() {
        auto doc = newDoc();
        QVERIFY(readHelpFile(dataFile("settings_edge.qzd"), *doc, Reader::Viewer).ok());
        const DisplaySettings& s = doc->displaySettings;
        QCOMPARE(s.backColor, qint32(0x8000000F));
        QCOMPARE(s.windowTop, qint16(0));
        QCOMPARE(s.windowLeft, qint16(-1));
        QCOMPARE(s.windowHeight, qint16(500)); // defaults apply when written, not when read
        QCOMPARE(s.listWidth, qint16(250));
    }

    void japaneseFile() {
        auto doc = newDoc();
        QVERIFY(readHelpFile(dataFile("japanese.qzd"), *doc, Reader::Viewer).ok());
        QCOMPARE(doc->pageCount(), 3);
        QCOMPARE(doc->page(1).title.value_or(QString()), QStringLiteral("操作方法"));
        QVERIFY(!doc->page(2).hasTitle());
        QCOMPARE(doc->page(3).title.value_or(QString()), QStringLiteral("ｷｰﾜｰﾄﾞ一覧"));
        QCOMPARE(doc->page(1).keywords.size(), 2);
        QCOMPARE(doc->page(1).keywords.value(1), QStringLiteral("印刷"));
        QCOMPARE(doc->page(3).keywords.value(0), QStringLiteral("検索"));
        QCOMPARE(doc->page(3).rtf, QByteArray("{\\rtf1 three}"));
        QVERIFY(doc->page(1).rtf.endsWith('\0')); // the body is taken byte for byte
    }

    // A refused tag leaves the open document as it was; a later failure keeps what was read.
    void failureKeepsState() {
        auto doc = sampleDoc();
        const DisplaySettings before = doc->displaySettings;
        QCOMPARE(readHelpFile(dataFile("wrongtag.qzd"), *doc, Reader::Viewer).status,
                 ReadStatus::WrongFormat);
        QCOMPARE(doc->displaySettings, before);
        QCOMPARE(doc->page(1).title.value_or(QString()), QStringLiteral("はじめに"));

        const ReadResult r = readHelpFile(dataFile("too_many_keywords.qzd"), *doc, Reader::Viewer);
        QCOMPARE(r.status, ReadStatus::BadField);
        QCOMPARE(doc->displaySettings.windowTop, qint16(300)); // settings of the new file
        QCOMPARE(doc->page(1).title.value_or(QString()),
                 QStringLiteral("first")); // page 1 record was read
        QVERIFY(r.offset > 100);
        QVERIFY(!r.reason.isEmpty());
    }

    void missingFile() {
        auto doc = newDoc();
        const ReadResult r =
            readHelpFile(QStringLiteral("/nonexistent/dir/x.qzd"), *doc, Reader::Viewer);
        QCOMPARE(r.status, ReadStatus::OpenFailed);
        QCOMPARE(r.errorNumber, FileError::PathNotFound);
        QTemporaryDir dir;
        QCOMPARE(
            readHelpFile(dir.filePath(QStringLiteral("x.qzd")), *doc, Reader::Viewer).errorNumber,
            FileError::FileNotFound);
        QVERIFY(writeAll(dir.filePath(QStringLiteral("empty.qzd")), {}));
        QCOMPARE(
            readHelpFile(dir.filePath(QStringLiteral("empty.qzd")), *doc, Reader::Viewer).status,
            ReadStatus::WrongFormat);
    }

    // Every prefix of a valid file fails cleanly: nothing past the end is ever read.
    void truncationAtEveryByte() {
        auto doc = sampleDoc();
        QByteArray full;
        QVERIFY(serializeHelpDocument(*doc, full).ok());
        for (qsizetype n = 0; n < full.size(); ++n) {
            // A copy in its own allocation, so a read past the end would show under ASan.
            const QByteArray prefix(full.constData(), n);
            auto target = newDoc();
            const ReadResult r = parseHelpFile(prefix, *target, Reader::Viewer);
            QVERIFY2(!r.ok(), qPrintable(QStringLiteral("prefix of %1 bytes was accepted").arg(n)));
            QCOMPARE(r.status, n < 7 ? ReadStatus::WrongFormat : ReadStatus::BadField);
            QVERIFY(target->pageCount() <= 100);
        }
    }

    // What is not a help file is refused without being read whole or waited on: a device
    // without end, a FIFO without a writer, a folder, a sparse 3 GB file, and one whose
    // good header counts fewer pages than its size could hold.
    void specialFilesAreRefused_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<ReadStatus>("status");
        QTest::addColumn<int>("errorNumber");
        QTest::newRow("/dev/zero") << QStringLiteral("device") << ReadStatus::WrongFormat << 0;
        QTest::newRow("FIFO") << QStringLiteral("fifo") << ReadStatus::WrongFormat << 0;
        QTest::newRow("folder") << QStringLiteral("folder") << ReadStatus::OpenFailed << 75;
        QTest::newRow("3 GB of nothing")
            << QStringLiteral("sparse") << ReadStatus::WrongFormat << 0;
        QTest::newRow("3 GB behind one page")
            << QStringLiteral("sparse help") << ReadStatus::BadField << 0;
    }
    void specialFilesAreRefused() {
        QFETCH(QString, kind);
        QFETCH(ReadStatus, status);
        QFETCH(int, errorNumber);
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("h.qzd"));
        const QByteArray name = QFile::encodeName(path);
        constexpr qint64 ThreeGigabytes = 3LL << 30;
        if (kind == QLatin1String("device")) {
            path = QStringLiteral("/dev/zero");
        } else if (kind == QLatin1String("fifo")) {
            QCOMPARE(::mkfifo(name.constData(), 0600), 0);
        } else if (kind == QLatin1String("folder")) {
            QCOMPARE(::mkdir(name.constData(), 0700), 0);
        } else {
            QByteArray header;
            if (kind == QLatin1String("sparse help")) {
                auto doc = newDoc();
                doc->pages.resize(1);
                QVERIFY(serializeHelpDocument(*doc, header).ok());
            }
            QVERIFY(writeAll(path, header));
            QVERIFY(QFile::resize(path, ThreeGigabytes));
        }
        auto doc = newDoc();
        const ReadResult r = readHelpFile(path, *doc, Reader::Viewer);
        QCOMPARE(r.status, status);
        QCOMPARE(r.errorNumber, errorNumber);
        HelpFileHeader header;
        QVERIFY(!readHelpFileHeader(path, header, Reader::Viewer).ok() ||
                kind == QLatin1String("sparse help"));
    }

    // Hostile numbers: negative counts and lengths, lengths far past the end.
    // Another program shortens the file while it is being read: the read fails cleanly.
    void fileShrunkWhileRead() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("h.qzd"));
        auto doc = sampleDoc();
        doc->page(2).rtf = QByteArray(1 << 20, 'x');
        QVERIFY(saveHelpFile(path, *doc).ok());
        helpFileOpenedHook = [&] { QFile::resize(path, 100); };
        auto read = newDoc();
        const ReadResult r = readHelpFile(path, *read, Reader::Viewer);
        helpFileOpenedHook = nullptr;
        QCOMPARE(r.status, ReadStatus::BadField);
    }

    void hostileFields_data() {
        QTest::addColumn<QByteArray>("tail");
        QTest::newRow("negative page count") << QByteArray("FFFF");
        QTest::newRow("huge page count") << QByteArray("7FFF");
        QTest::newRow("negative title length") << QByteArray("00011234567812345678"
                                                             "01"
                                                             "FFFF");
        QTest::newRow("title past the end") << QByteArray("00011234567812345678"
                                                          "01"
                                                          "7FFFab");
        QTest::newRow("title count 2") << QByteArray("00011234567812345678"
                                                     "02"
                                                     "0001a"
                                                     "0001b"
                                                     "00");
        QTest::newRow("negative body") << QByteArray("00011234567812345678"
                                                     "00"
                                                     "00"
                                                     "FFFFFFFF");
        QTest::newRow("huge body") << QByteArray("00011234567812345678"
                                                 "00"
                                                 "00"
                                                 "7FFFFFFF{}");
        QTest::newRow("lower-case junk") << QByteArray("00011234567812345678"
                                                       "0x");
    }
    void hostileFields() {
        QFETCH(QByteArray, tail);
        const QByteArray head = QByteArray("qzd32mk Ver2.01 80000005") + "00C800C8196423280 7D000" +
                                "34" + "1234123412341234123412341234";
        auto doc = newDoc();
        const ReadResult r = parseHelpFile(head + tail, *doc, Reader::Viewer);
        QCOMPARE(r.status, ReadStatus::BadField);
        QVERIFY(doc->pageCount() <= 100);
    }

    // Random damage never crashes or hangs the reader.
    void randomBytes() {
        auto doc = sampleDoc();
        QByteArray full;
        QVERIFY(serializeHelpDocument(*doc, full).ok());
        QRandomGenerator rng(20261207);
        for (int round = 0; round < 3000; ++round) {
            QByteArray damaged = full;
            const int edits = 1 + rng.bounded(8);
            for (int e = 0; e < edits; ++e)
                damaged[rng.bounded(int(damaged.size()))] = char(rng.bounded(256));
            if (round % 3 == 0)
                damaged.truncate(rng.bounded(int(damaged.size())));
            auto target = newDoc();
            parseHelpFile(damaged, *target, Reader::Viewer);
            QVERIFY(target->pageCount() <= 100);
            for (const HelpPage& page : target->pages)
                QVERIFY(page.keywords.size() <= 64);
        }
        QByteArray noise(4096, '\0');
        for (char& c : noise)
            c = char(rng.bounded(256));
        auto target = newDoc();
        QVERIFY(!parseHelpFile(QByteArray("qzd32mk") + noise, *target, Reader::Viewer).ok());
    }

    void unencodableEntryIsReported() {
        auto doc = sampleDoc();
        doc->page(3).keywords[0] = QStringLiteral("caf\u00E9");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("h.qzd"));
        QVERIFY(writeAll(path, "old contents"));
        const WriteResult w = saveHelpFile(path, *doc);
        QCOMPARE(w.status, WriteStatus::Unencodable);
        QCOMPARE(w.page, 3);
        QCOMPARE(w.keywordSlot, 1);
        QCOMPARE(w.character, QChar(0x00E9));
        QCOMPARE(readAll(path), QByteArray("old contents"));
    }

    void badCountsAreRefused() {
        auto doc = sampleDoc();
        doc->page(2).keywords = QStringList(65, QStringLiteral("k"));
        QByteArray out;
        QCOMPARE(serializeHelpDocument(*doc, out).status, WriteStatus::BadDocument);
        doc->page(2).keywords.clear();
        doc->page(1).title =
            QString(40000, QLatin1Char('x')); // its length would read back negative
        QCOMPARE(serializeHelpDocument(*doc, out).status, WriteStatus::BadDocument);
        doc->page(1).title = QStringLiteral("ok");
        doc->pages.resize(101);
        QCOMPARE(serializeHelpDocument(*doc, out).status, WriteStatus::BadDocument);
    }

    void saveReplacesWholeFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("h.qzd"));
        QVERIFY(writeAll(path, QByteArray(100000, 'x')));
        auto doc = sampleDoc();
        QVERIFY(saveHelpFile(path, *doc).ok());
        QByteArray expected;
        QVERIFY(serializeHelpDocument(*doc, expected).ok());
        QCOMPARE(readAll(path), expected); // no old bytes left behind
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("h.qzd")});
    }

    void failedSaveKeepsOldFile() {
        QTemporaryDir dir;
        auto doc = sampleDoc();
        // Read-only target: refused before anything is written.
        const QString ro = dir.filePath(QStringLiteral("ro.qzd"));
        QVERIFY(writeAll(ro, "precious"));
        QFile::setPermissions(ro, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        const WriteResult w1 = saveHelpFile(ro, *doc);
        QCOMPARE(w1.status, WriteStatus::ReadOnly);
        QCOMPARE(w1.file.errorNumber, FileError::PermissionDenied);
        QCOMPARE(readAll(ro), QByteArray("precious"));
        // Missing folder.
        const WriteResult w2 = saveHelpFile(dir.filePath(QStringLiteral("no/such/h.qzd")), *doc);
        QCOMPARE(w2.status, WriteStatus::WriteFailed);
        QCOMPARE(w2.file.errorNumber, FileError::PathNotFound);
        // A device that fills up.
        FailingDevice full(50);
        const WriteResult w3 = writeHelpDocument(full, *doc);
        QCOMPARE(w3.status, WriteStatus::WriteFailed);
        QCOMPARE(w3.file.errorNumber, FileError::DiskFull);
    }

    void errorNumbers_data() {
        QTest::addColumn<int>("err");
        QTest::addColumn<int>("number");
        QTest::newRow("EACCES") << EACCES << 70;
        QTest::newRow("EROFS") << EROFS << 70;
        QTest::newRow("ENOSPC") << ENOSPC << 61;
        QTest::newRow("EIO") << EIO << 57;
        QTest::newRow("ENXIO") << ENXIO << 68;
        QTest::newRow("EMFILE") << EMFILE << 67;
        QTest::newRow("ENAMETOOLONG") << ENAMETOOLONG << 52;
        QTest::newRow("other keeps its own") << EBUSY << FileError::OtherBase + EBUSY;
    }
    void errorNumbers() {
        QFETCH(int, err);
        QFETCH(int, number);
        QCOMPARE(fileErrorNumberFromErrno(err), number);
    }

    void maximumDocument() {
        auto doc = newDoc();
        doc->pages.resize(100);
        for (int p = 1; p <= 100; ++p) {
            doc->page(p).title = QString(32, QChar(0x9801));
            for (int k = 1; k <= 64; ++k)
                doc->page(p).keywords << QStringLiteral("キーワード%1-%2").arg(p).arg(k);
            doc->page(p).rtf = QByteArray(1000 + p, 'r');
        }
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("max.qzd"));
        QVERIFY(saveHelpFile(path, *doc).ok());
        auto back = newDoc();
        QVERIFY(readHelpFile(path, *back, Reader::Maker).ok());
        compareDocs(*doc, *back);
    }
};

QTEST_MAIN(TestHelpFile)
#include "tst_helpfile.moc"
