#include "core/filelock.h"
#include "core/helpfile.h"
#include "support/killedsave.h"
#include "viewer/displaysettingstracker.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace quillo;
using quillo::viewer::writeDisplaySettingsBack;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray fileBytes(const QString& rtf, qint16 top) {
    auto doc = std::make_unique<HelpDocument>();
    doc->pages.resize(1);
    doc->page(1).rtf = rtf.toLatin1();
    doc->displaySettings.windowTop = top;
    doc->displaySettings.windowLeft = 100;
    doc->displaySettings.windowHeight = 5000;
    doc->displaySettings.windowWidth = 6000;
    doc->displaySettings.listWidth = 2000;
    QByteArray out;
    if (!serializeHelpDocument(*doc, out).ok())
        return {};
    return out;
}

DisplaySettings moved() {
    DisplaySettings s;
    s.windowTop = 0x0ABC;
    s.windowLeft = 0x0DEF;
    s.windowHeight = 0x1234;
    s.windowWidth = 0x2345;
    s.listWidth = 0x0777;
    s.topmost = 1;
    s.windowState = 0;
    return s;
}

// The window fields of `moved()` as they stand in a file.
const QByteArray movedFields = "0ABC0DEF123423450777"
                               "10";

struct stat statOf(const QString& path) {
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st;
}

} // namespace

class TestWriteBack : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { lockedFileOpenedHook = nullptr; }

    // Only bytes 24 to 45 change; pages, bytes after the last page, the file itself, its
    // mode and its links stay.
    void writesFieldsInPlace() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("h.qzd"));
        const QByteArray before = fileBytes(QStringLiteral("{\\rtf1 one}"), 10) + "TRAILER";
        QVERIFY(writeAll(path, before));
        QCOMPARE(::link(QFile::encodeName(path).constData(),
                        QFile::encodeName(dir.filePath(QStringLiteral("hard.qzd"))).constData()),
                 0);
        QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0640), 0);
        const struct stat st = statOf(path);

        QVERIFY(writeDisplaySettingsBack(path, moved()).ok());

        QByteArray expected = before;
        expected.replace(24, 22, movedFields);
        QCOMPARE(readAll(path), expected);
        const struct stat after = statOf(path);
        QCOMPARE(after.st_ino, st.st_ino);
        QCOMPARE(after.st_nlink, nlink_t(2));
        QCOMPARE(after.st_mode & 07777, mode_t(0640));
        QCOMPARE(readAll(dir.filePath(QStringLiteral("hard.qzd"))), expected);
    }

    // The authoring program replaces the file between the viewer opening it and locking
    // it: the new pages stay and the window fields go into the new file.
    void fileReplacedMeanwhile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("h.qzd"));
        QVERIFY(writeAll(path, fileBytes(QStringLiteral("{\\rtf1 old}"), 10)));
        const QByteArray saved = fileBytes(QStringLiteral("{\\rtf1 saved meanwhile}"), 20);
        int calls = 0;
        lockedFileOpenedHook = [&] {
            if (calls++ == 0)
                QVERIFY(saveHelpFileBytesForTest(path, saved, dir));
        };
        QVERIFY(writeDisplaySettingsBack(path, moved()).ok());
        QByteArray expected = saved;
        expected.replace(24, 22, movedFields);
        QCOMPARE(readAll(path), expected);
    }

    // A save holding the lock keeps the write-back waiting until it is done.
    void waitsForTheLock() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("h.qzd"));
        QVERIFY(writeAll(path, fileBytes(QStringLiteral("{\\rtf1 a}"), 10)));
        std::atomic<bool> done = false;
        std::thread writer;
        {
            const LockedFile saving(path, O_RDONLY);
            QVERIFY(saving.isOpen());
            writer = std::thread([&] {
                writeDisplaySettingsBack(path, moved());
                done = true;
            });
            QTest::qWait(200);
            QVERIFY(!done);
        }
        writer.join();
        QVERIFY(done);
        QCOMPARE(readAll(path).mid(24, 22), movedFields);
    }

    // A lock another program keeps is waited for only a moment: the viewer's exit goes on
    // and the file stays as it was.
    void givesUpOnAHeldLock() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("h.qzd"));
        QVERIFY(writeAll(path, fileBytes(QStringLiteral("{\\rtf1 a}"), 10)));
        const QByteArray before = readAll(path);
        const LockedFile held(path, O_RDONLY);
        QVERIFY(held.isOpen());
        const int wait = lockWaitMilliseconds;
        lockWaitMilliseconds = 100;
        const FileResult r = writeDisplaySettingsBack(path, moved());
        lockWaitMilliseconds = wait;
        QVERIFY(!r.ok());
        QCOMPARE(readAll(path), before);
    }

    // A save in place killed half way: the write-back first gives the file its old contents
    // back, then writes its fields into them.
    void saveInPlaceCutShort() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("h.qzd"));
        const QByteArray old = fileBytes(QStringLiteral("{\\rtf1 ") + QString(5000, 'o') + '}', 10);
        QVERIFY(writeAll(path, old));
        // A second name, so that the save writes in place.
        QCOMPARE(::link(QFile::encodeName(path).constData(),
                        QFile::encodeName(dir.filePath(QStringLiteral("link.qzd"))).constData()),
                 0);
        const QByteArray fresh =
            fileBytes(QStringLiteral("{\\rtf1 ") + QString(3000, 'n') + '}', 20);
        QVERIFY(test::saveKilledAt(path, fresh, SaveStep::Write, true));
        QVERIFY(writeDisplaySettingsBack(path, moved()).ok());
        QByteArray expected = old;
        expected.replace(24, 22, movedFields);
        QCOMPARE(readAll(path), expected);
    }

    // Whatever stops the write-back leaves the file as it was.
    void failureLeavesFile_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("readOnly");
        const QByteArray good = fileBytes(QStringLiteral("{\\rtf1 a}"), 10);
        QTest::newRow("not a help file")
            << QByteArray("hello world, this is no help file") << false;
        QTest::newRow("header cut short") << good.left(40) << false;
        QTest::newRow("bad digit in a field") << QByteArray(good).replace(30, 1, "G") << false;
        QTest::newRow("marked read-only") << good << true;
        QByteArray wideTag = good;
        wideTag.replace(8, 2, "\x82\xa0"); // one double-byte character: fields move by one
        QTest::newRow("double-byte tag") << wideTag.insert(10, 'x') << false;
    }
    void failureLeavesFile() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, readOnly);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("h.qzd"));
        QVERIFY(writeAll(path, bytes));
        if (readOnly)
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
        QVERIFY(!writeDisplaySettingsBack(path, moved()).ok());
        QCOMPARE(readAll(path), bytes);
        QVERIFY(!writeDisplaySettingsBack(dir.filePath(QStringLiteral("gone.qzd")), moved()).ok());
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("gone.qzd"))));
    }

    // Nothing is created beside the file, so a folder that may not be written is no obstacle.
    void readOnlyFolder() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("h.qzd"));
        QVERIFY(writeAll(path, fileBytes(QStringLiteral("{\\rtf1 a}"), 10)));
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        const bool ok = writeDisplaySettingsBack(path, moved()).ok();
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(ok);
        QCOMPARE(readAll(path).mid(24, 22), movedFields);
    }

private:
    // Replaces the file by rename, as the authoring program's save does.
    static bool saveHelpFileBytesForTest(const QString& path, const QByteArray& bytes,
                                         const QTemporaryDir& dir) {
        const QString temp = dir.filePath(QStringLiteral("new.tmp"));
        return writeAll(temp, bytes) && ::rename(QFile::encodeName(temp).constData(),
                                                 QFile::encodeName(path).constData()) == 0;
    }
};

QTEST_MAIN(TestWriteBack)
#include "tst_writeback.moc"
