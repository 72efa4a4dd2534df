#include "core/atomicfile.h"
#include "core/fileerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

using namespace quillo;

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

    // Temporary files an interrupted save left behind go with the next save; one that may
    // belong to a save running right now and other files stay.
    void staleTemporariesRemoved() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("h.qzd"));
        QVERIFY(writeAll(path, "old"));
        const QString stale = dir.filePath(QStringLiteral(".h.qzd.qzdtmp-abc123"));
        const QString young = dir.filePath(QStringLiteral(".h.qzd.qzdtmp-def456"));
        const QString other = dir.filePath(QStringLiteral(".g.qzd.qzdtmp-abc123"));
        for (const QString& f : {stale, young, other})
            QVERIFY(writeAll(f, "left over"));
        const utimbuf hourAgo{::time(nullptr) - 3600, ::time(nullptr) - 3600};
        QCOMPARE(::utime(QFile::encodeName(stale).constData(), &hourAgo), 0);
        QCOMPARE(::utime(QFile::encodeName(other).constData(), &hourAgo), 0);
        QVERIFY(writeFileAtomically(path, "new").ok());
        QVERIFY(!QFile::exists(stale));
        QVERIFY(QFile::exists(young));
        QVERIFY(QFile::exists(other));
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

    // A folder standing where the file should be is named as such, not as a read-only file.
    void folderInTheWay() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("h.qzd"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("h.qzd")));
        const FileResult r = writeFileAtomically(path, "new");
        QCOMPARE(r.errorNumber, 75);
        QVERIFY(QFileInfo(path).isDir());
    }
};

QTEST_MAIN(TestAtomicFile)
#include "tst_atomicfile.moc"
