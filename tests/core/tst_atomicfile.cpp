#include "core/atomicfile.h"
#include "core/fileerror.h"
#include "core/helpfile.h"
#include "support/killedsave.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

using namespace quillo;
using quillo::test::saveKilledAt;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

mode_t modeOf(const QString& path) {
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 07777;
}

// The bytes of a help file of `pages` pages, page p's text `step` * p bytes of `fill`.
QByteArray helpFileBytes(int pages, char fill, int step = 3000) {
    HelpDocument doc;
    doc.pages.resize(pages);
    for (int p = 1; p <= pages; ++p)
        doc.page(p).rtf = "{\\rtf1 " + QByteArray(step * p, fill) + "\\par}";
    QByteArray bytes;
    serializeHelpDocument(doc, bytes);
    return bytes;
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// A second name for the file, so that saves must write it in place.
bool addLink(const QString& path, const QString& other) {
    return ::link(QFile::encodeName(path).constData(), QFile::encodeName(other).constData()) == 0;
}

} // namespace

class TestAtomicFile : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { saveFaultHook = nullptr; }

    // A step that fails is reported with its cause; before the rename the old file stays
    // and the temporary file goes.
    void failedStep_data() {
        QTest::addColumn<SaveStep>("step");
        QTest::addColumn<int>("err");
        QTest::addColumn<int>("errorNumber");
        QTest::addColumn<bool>("oldFileKept");
        QTest::newRow("write: disk full") << SaveStep::Write << ENOSPC << 61 << true;
        QTest::newRow("mode: not permitted") << SaveStep::Permissions << EPERM << 70 << true;
        QTest::newRow("sync: I/O error") << SaveStep::Sync << EIO << 57 << true;
        QTest::newRow("sync: disk full") << SaveStep::Sync << ENOSPC << 61 << true;
        QTest::newRow("close: I/O error") << SaveStep::Close << EIO << 57 << true;
        QTest::newRow("close: quota") << SaveStep::Close << EDQUOT << 61 << true;
        QTest::newRow("rename: I/O error") << SaveStep::Rename << EIO << 57 << true;
        QTest::newRow("folder sync: I/O error") << SaveStep::SyncFolder << EIO << 57 << false;
    }
    void failedStep() {
        QFETCH(SaveStep, step);
        QFETCH(int, err);
        QFETCH(int, errorNumber);
        QFETCH(bool, oldFileKept);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("h.qzd"));
        QVERIFY(writeAll(path, "old contents"));
        saveFaultHook = [&](SaveStep s) { return s == step ? err : 0; };
        const FileResult r = writeFileAtomically(path, "new contents");
        QVERIFY(!r.ok());
        QCOMPARE(r.errorNumber, errorNumber);
        QVERIFY(!r.message.isEmpty());
        QCOMPARE(readAll(path), oldFileKept ? QByteArray("old contents") : "new contents");
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("h.qzd")});
    }

    // A file of a batch synced at its end skips both syncs, and is still written whole: a
    // failure of any other step keeps the old file as a synced write does.
    void deferredWriteSkipsTheSyncs() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("page.htm"));
        QVERIFY(writeAll(path, "old contents"));
        saveFaultHook = [](SaveStep s) {
            return s == SaveStep::Sync || s == SaveStep::SyncFolder ? EIO : 0;
        };
        QVERIFY(writeFileAtomically(path, "new contents", Durability::Deferred).ok());
        QCOMPARE(readAll(path), QByteArray("new contents"));
        QVERIFY(!writeFileAtomically(path, "synced", Durability::Synced).ok());
        saveFaultHook = [](SaveStep s) { return s == SaveStep::Write ? ENOSPC : 0; };
        QCOMPARE(writeFileAtomically(path, "lost", Durability::Deferred).errorNumber, 61);
        QCOMPARE(readAll(path), QByteArray("new contents"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("page.htm")});
    }

    // The replaced file keeps the old one's mode, whatever the umask gives a new file.
    void modeKept() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("h.qzd"));
        QVERIFY(writeAll(path, "old"));
        QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0664), 0);
        const mode_t mask = ::umask(077);
        const FileResult r = writeFileAtomically(path, "new");
        ::umask(mask);
        QVERIFY(r.ok());
        QCOMPARE(modeOf(path), mode_t(0664));
    }

    // Temporary files interrupted saves left behind go with the first save into their
    // folder; one that may belong to a save running right now and other files stay. The
    // folder is read once per run, not again for every file written into it.
    void staleTemporariesRemoved() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("h.qzd"));
        QVERIFY(writeAll(path, "old"));
        const QString stale = dir.filePath(QStringLiteral(".h.qzd.qzdtmp-abc123"));
        const QString young = dir.filePath(QStringLiteral(".h.qzd.qzdtmp-def456"));
        const QString otherFiles = dir.filePath(QStringLiteral(".g.qzd.qzdtmp-abc123"));
        const QString unrelated = dir.filePath(QStringLiteral(".hidden"));
        for (const QString& f : {stale, young, otherFiles, unrelated})
            QVERIFY(writeAll(f, "left over"));
        const utimbuf hourAgo{::time(nullptr) - 3600, ::time(nullptr) - 3600};
        for (const QString& f : {stale, otherFiles, unrelated})
            QCOMPARE(::utime(QFile::encodeName(f).constData(), &hourAgo), 0);
        QVERIFY(writeFileAtomically(path, "new").ok());
        QVERIFY(!QFile::exists(stale));
        QVERIFY(!QFile::exists(otherFiles));
        QVERIFY(QFile::exists(young));
        QVERIFY(QFile::exists(unrelated));

        QVERIFY(writeAll(stale, "left over"));
        QCOMPARE(::utime(QFile::encodeName(stale).constData(), &hourAgo), 0);
        QVERIFY(writeFileAtomically(dir.filePath(QStringLiteral("g.qzd")), "new").ok());
        QVERIFY(QFile::exists(stale));
    }

    // A file with another link is written in place: both names show the new contents, and
    // a failure leaves the old contents in both.
    void hardLinksKept_data() {
        QTest::addColumn<int>("fault");
        QTest::newRow("saved") << 0;
        QTest::newRow("write fails") << ENOSPC;
    }
    void hardLinksKept() {
        QFETCH(int, fault);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("h.qzd"));
        const QString other = dir.filePath(QStringLiteral("link.qzd"));
        QVERIFY(writeAll(path, "old contents, longer than the new"));
        QCOMPARE(::link(QFile::encodeName(path).constData(), QFile::encodeName(other).constData()),
                 0);
        saveFaultHook = [&](SaveStep s) { return s == SaveStep::Write ? fault : 0; };
        QCOMPARE(writeFileAtomically(path, "new contents").ok(), fault == 0);
        const QByteArray expected = fault ? "old contents, longer than the new" : "new contents";
        QCOMPARE(readAll(path), expected);
        QCOMPARE(readAll(other), expected);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    }

    // Another user's file that the saver's group may write keeps its owner and group.
    void otherUsersFileKeepsOwner() {
        if (::geteuid() != 0)
            QSKIP("needs root to give the file to another user and save it as a third");
        QTemporaryDir dir;
        QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7777)));
        const QString path = dir.filePath(QStringLiteral("h.qzd"));
        QVERIFY(writeAll(path, "old"));
        const QByteArray name = QFile::encodeName(path);
        QCOMPARE(::chown(name.constData(), 4321, 4321), 0);
        QCOMPARE(::chmod(name.constData(), 0664), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            // A user of group 4321 who is not the file's owner.
            const gid_t group = 4321;
            const bool dropped =
                ::setgroups(1, &group) == 0 && ::setgid(1234) == 0 && ::setuid(1234) == 0;
            ::_exit(dropped && writeFileAtomically(path, "new").ok() ? 0 : 1);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
        QCOMPARE(readAll(path), QByteArray("new"));
        struct stat st {};
        QCOMPARE(::stat(name.constData(), &st), 0);
        QCOMPARE(st.st_uid, uid_t(4321));
        QCOMPARE(st.st_gid, gid_t(4321));
        QCOMPARE(st.st_mode & 07777, mode_t(0664));
    }

    // A save written in place is killed at each of its steps, once in the middle of writing
    // the new contents: the next reading of the file, under either name, finds the old or
    // the new help file whole, and the copy of the old contents is then gone.
    void killedInPlaceSave_data() {
        QTest::addColumn<SaveStep>("step");
        QTest::addColumn<bool>("halfWritten"); // the kill comes with the new contents half there
        QTest::addColumn<bool>("newExpected");
        QTest::newRow("keeping the old contents") << SaveStep::KeepOld << false << false;
        QTest::newRow("naming the kept copy") << SaveStep::KeepOldInstall << false << false;
        QTest::newRow("before writing") << SaveStep::Write << false << false;
        QTest::newRow("half written") << SaveStep::Write << true << false;
        QTest::newRow("written, before the sync") << SaveStep::Sync << false << true;
        QTest::newRow("dropping the kept copy") << SaveStep::DropOld << false << true;
    }
    void killedInPlaceSave() {
        QFETCH(SaveStep, step);
        QFETCH(bool, halfWritten);
        QFETCH(bool, newExpected);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("h.qzd"));
        const QString other = dir.filePath(QStringLiteral("link.qzd"));
        const QByteArray oldBytes = helpFileBytes(3, 'o');
        const QByteArray newBytes = helpFileBytes(2, 'n');
        QVERIFY(writeAll(path, oldBytes));
        QVERIFY(addLink(path, other));

        QVERIFY(saveKilledAt(path, newBytes, step, halfWritten));

        const QByteArray expected = newExpected ? newBytes : oldBytes;
        for (const QString& name : {path, other}) {
            HelpDocument read;
            QVERIFY(readHelpFile(name, read, Reader::Maker).ok());
            QCOMPARE(read.pageCount(), newExpected ? 2 : 3);
            QCOMPARE(readAll(name), expected);
        }
        QCOMPARE(filesIn(dir.path()).filter(QStringLiteral("qzdkeep")), QStringList());
        // The next save goes ahead as usual.
        QVERIFY(writeFileAtomically(path, newBytes).ok());
        QCOMPARE(readAll(other), newBytes);
    }

    // A file written again after a save in place was killed (under its other name, or by
    // another program) keeps those contents: the old ones are not put back over them.
    void fileWrittenSinceTheKillIsKept() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("h.qzd"));
        const QByteArray oldBytes = helpFileBytes(3, 'o');
        const QByteArray newBytes = helpFileBytes(2, 'n');
        const QByteArray laterBytes = helpFileBytes(4, 'l');
        QVERIFY(writeAll(path, oldBytes));
        QVERIFY(addLink(path, dir.filePath(QStringLiteral("link.qzd"))));
        QVERIFY(saveKilledAt(path, newBytes, SaveStep::Write, true));
        QVERIFY(writeAll(path, laterBytes)); // in place, as a copy command writes
        HelpDocument read;
        QVERIFY(readHelpFile(path, read, Reader::Maker).ok());
        QCOMPARE(readAll(path), laterBytes);
        QCOMPARE(filesIn(dir.path()).filter(QStringLiteral("qzdkeep")), QStringList());
    }

    // Saves in place, one after the other, killed at whatever moment the kill comes: each
    // time the next reading finds one of the files written whole.
    void savesKilledAtAnyMoment() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("h.qzd"));
        // Megabytes, so that many kills come in the middle of writing them.
        const QByteArray first = helpFileBytes(20, 'a', 30000);
        const QByteArray second = helpFileBytes(12, 'b', 30000);
        QVERIFY(writeAll(path, first));
        QVERIFY(addLink(path, dir.filePath(QStringLiteral("link.qzd"))));
        for (int round = 0; round < 60; ++round) {
            const pid_t child = ::fork();
            if (child == 0) {
                for (;;) {
                    writeFileAtomically(path, second);
                    writeFileAtomically(path, first);
                }
            }
            ::usleep(useconds_t(1000 + QRandomGenerator::global()->bounded(30000)));
            ::kill(child, SIGKILL);
            int status = 0;
            QCOMPARE(::waitpid(child, &status, 0), child);
            HelpDocument read;
            QVERIFY2(readHelpFile(path, read, Reader::Maker).ok(),
                     qPrintable(QStringLiteral("round %1").arg(round)));
            const QByteArray bytes = readAll(path);
            QVERIFY2(bytes == first || bytes == second,
                     qPrintable(QStringLiteral("round %1").arg(round)));
        }
    }

    // A step of the save in place that fails: the file keeps its old contents (or, when only
    // the kept copy could not be dropped, has its new ones) and no copy outlives the next
    // reading.
    void failedInPlaceStep_data() {
        QTest::addColumn<SaveStep>("step");
        QTest::addColumn<int>("errorNumber");
        QTest::newRow("keeping the old contents") << SaveStep::KeepOld << 61;
        QTest::newRow("naming the kept copy") << SaveStep::KeepOldInstall << 57;
        QTest::newRow("writing") << SaveStep::Write << 61;
        QTest::newRow("sync") << SaveStep::Sync << 57;
        QTest::newRow("dropping the kept copy") << SaveStep::DropOld << 0;
    }
    void failedInPlaceStep() {
        QFETCH(SaveStep, step);
        QFETCH(int, errorNumber);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("h.qzd"));
        QVERIFY(writeAll(path, "old contents, longer than the new"));
        QVERIFY(addLink(path, dir.filePath(QStringLiteral("link.qzd"))));
        saveFaultHook = [&](SaveStep s) {
            return s != step ? 0 : errorNumber == 61 ? ENOSPC : EIO;
        };
        QCOMPARE(writeFileAtomically(path, "new contents").errorNumber, errorNumber);
        saveFaultHook = nullptr;
        QCOMPARE(readAll(path), errorNumber ? QByteArray("old contents, longer than the new")
                                            : QByteArray("new contents"));
        QVERIFY(finishInterruptedOverwrite(path).ok());
        QCOMPARE(filesIn(dir.path()),
                 (QStringList{QStringLiteral("h.qzd"), QStringLiteral("link.qzd")}));
        QCOMPARE(readAll(path), errorNumber ? QByteArray("old contents, longer than the new")
                                            : QByteArray("new contents"));
    }

    // While a save in place runs, another program opening or saving the file leaves the
    // save's copy of the old contents alone; the second save is told the file is in use.
    void runningInPlaceSaveKeepsItsCopy() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("h.qzd"));
        const QString kept = dir.filePath(keptOldContentsName(QStringLiteral("h.qzd")));
        QVERIFY(writeAll(path, "old"));
        QVERIFY(addLink(path, dir.filePath(QStringLiteral("link.qzd"))));
        bool inside = false;
        FileResult opened, saved;
        saveFaultHook = [&](SaveStep s) {
            if (s != SaveStep::Write || inside)
                return 0;
            inside = true;
            opened = finishInterruptedOverwrite(path);
            const bool copyStays = QFile::exists(kept);
            saved = writeFileAtomically(path, "the other program's");
            return copyStays && QFile::exists(kept) ? 0 : EIO;
        };
        QVERIFY(writeFileAtomically(path, "new").ok());
        QVERIFY(opened.ok());
        QCOMPARE(saved.errorNumber, 55);
        QCOMPARE(readAll(path), QByteArray("new"));
        QVERIFY(!QFile::exists(kept));
    }

    // A folder standing where the file should be is named as such, not as a read-only file;
    // a FIFO is not replaced by a file either.
    void folderInTheWay() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("h.qzd"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("h.qzd")));
        const FileResult r = writeFileAtomically(path, "new");
        QCOMPARE(r.errorNumber, 75);
        QVERIFY(QFileInfo(path).isDir());
        const QString fifo = dir.filePath(QStringLiteral("pipe.qzd"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QCOMPARE(writeFileAtomically(fifo, "new").errorNumber, 54);
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(fifo).constData(), &st), 0);
        QVERIFY(S_ISFIFO(st.st_mode));
    }
};

QTEST_MAIN(TestAtomicFile)
#include "tst_atomicfile.moc"
