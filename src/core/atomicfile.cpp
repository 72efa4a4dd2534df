#include "atomicfile.h"

#include "fileerror.h"
#include "systemfile.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillo {

namespace {

// A temporary file this old was left by a save that was interrupted; a younger one may
// belong to a save still running in another program.
constexpr time_t StaleAfterSeconds = 60;

// Runs one step of a save: 0 when it succeeded, else its errno. A fault a test injects is
// returned instead, without running the step.
template <typename Step> int run(SaveStep step, Step&& op) {
    if (saveFaultHook)
        if (const int injected = saveFaultHook(step))
            return injected;
    errno = 0;
    if (op())
        return 0;
    return errno ? errno : EIO;
}

bool writeAll(int fd, QByteArrayView bytes) {
    while (!bytes.isEmpty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        bytes = bytes.sliced(n);
    }
    return true;
}

// Whether `name` is a temporary file of a save, of whatever file.
bool isTemporaryName(QByteArrayView name) {
    return name.startsWith('.') && name.indexOf(QByteArrayView(".qzdtmp-")) > 0;
}

// Removes the temporaries interrupted saves left in the folder. A folder is read once per
// run: reading it again for every file of a batch (a site of thousands of pictures) would
// cost the square of their number.
void removeStaleTemporaries(const QString& folder) {
    static std::mutex mutex;
    static std::set<QByteArray> cleaned;
    // The folder is read by its bytes, so that a name that is not UTF-8 still matches.
    const QByteArray folderName = systemPath(folder);
    {
        const std::lock_guard lock(mutex);
        if (!cleaned.insert(folderName).second)
            return;
    }
    DIR* dir = ::opendir(folderName.constData());
    if (!dir)
        return;
    const time_t now = ::time(nullptr);
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArrayView name(entry->d_name);
        if (!isTemporaryName(name))
            continue;
        const QByteArray stale = folderName + '/' + name.toByteArray();
        struct stat st {};
        if (::lstat(stale.constData(), &st) == 0 && S_ISREG(st.st_mode) &&
            now - st.st_mtime >= StaleAfterSeconds)
            ::unlink(stale.constData());
    }
    ::closedir(dir);
}

// Puts the folder's entries on the disk: 0, or the errno. A file system that cannot sync
// folders is left as it is.
int syncFolder(const QString& folder) {
    const int dirFd = ::open(systemPath(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0)
        return 0; // a folder that cannot be opened for reading
    const int err = ::fsync(dirFd) != 0 && errno != EINVAL ? errno : 0;
    ::close(dirFd);
    return err;
}

// The file a path names: a link is followed, so the file it points to is written.
QString followLink(const QString& requested) {
    struct stat linkStat {};
    if (::lstat(systemPath(requested).constData(), &linkStat) != 0 || !S_ISLNK(linkStat.st_mode))
        return requested;
    char* resolved = ::realpath(systemPath(requested).constData(), nullptr);
    if (!resolved)
        return requested;
    const QString path = pathFromSystem(resolved);
    ::free(resolved);
    return path;
}

// Opens a new temporary file beside the target; -1 and errno when none can be made.
int createTemporary(const QString& folder, const QString& fileName, QByteArray& name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = systemPath(
            QDir(folder).filePath(temporaryFilePrefix(fileName) +
                                  QString::number(QRandomGenerator::global()->generate(), 36)));
        // A new file gets the mode the user's umask gives any new file.
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

bool writeAllAt(int fd, QByteArrayView bytes) {
    return ::lseek(fd, 0, SEEK_SET) == 0 && writeAll(fd, bytes) &&
           ::ftruncate(fd, bytes.size()) == 0;
}

// The copy of the old contents starts with one line naming the file it belongs to and the
// lengths of the old and the new contents; both follow, the old first.
constexpr QByteArrayView KeptMagic = "qzdkeep2";

QByteArray keptCopyHead(const struct stat& target, QByteArrayView old, QByteArrayView fresh) {
    return KeptMagic.toByteArray() + ' ' + QByteArray::number(qulonglong(target.st_dev), 16) + ' ' +
           QByteArray::number(qulonglong(target.st_ino), 16) + ' ' +
           QByteArray::number(old.size()) + ' ' + QByteArray::number(fresh.size()) + '\n';
}

struct KeptCopy {
    dev_t device = 0;
    ino_t inode = 0;
    QByteArrayView old;
    QByteArrayView fresh;
};

std::optional<KeptCopy> parseKeptCopy(QByteArrayView bytes) {
    const qsizetype end = bytes.indexOf('\n');
    if (end < 0)
        return std::nullopt;
    const QList<QByteArray> fields = bytes.first(end).toByteArray().split(' ');
    if (fields.size() != 5 || fields[0] != KeptMagic)
        return std::nullopt;
    bool okDevice = false, okInode = false, okOld = false, okFresh = false;
    KeptCopy copy;
    copy.device = dev_t(fields[1].toULongLong(&okDevice, 16));
    copy.inode = ino_t(fields[2].toULongLong(&okInode, 16));
    const qint64 oldSize = fields[3].toLongLong(&okOld);
    const qint64 freshSize = fields[4].toLongLong(&okFresh);
    const QByteArrayView rest = bytes.sliced(end + 1);
    if (!okDevice || !okInode || !okOld || !okFresh || oldSize < 0 || freshSize < 0 ||
        oldSize + freshSize != rest.size())
        return std::nullopt;
    copy.old = rest.first(oldSize);
    copy.fresh = rest.sliced(oldSize);
    return copy;
}

// Whether every byte of the file is, at its place, the new contents', the old contents' or
// zero: what an overwrite cut short leaves behind, and what other contents written since
// almost never are.
bool isMixtureOf(QByteArrayView file, QByteArrayView old, QByteArrayView fresh) {
    if (file.size() > std::max(old.size(), fresh.size()))
        return false;
    for (qsizetype i = 0; i < file.size(); ++i) {
        const char c = file[i];
        if (c != 0 && !(i < fresh.size() && fresh[i] == c) && !(i < old.size() && old[i] == c))
            return false;
    }
    return true;
}

// Opens a copy of the old contents and locks it: a save that still runs holds the lock.
// -1 when there is no copy or it is held; errno tells which.
int lockKeptCopy(const QByteArray& name) {
    const int fd = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat opened {};
    struct stat named {};
    // A copy dropped between the open and the lock is no longer the name's.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &opened) != 0 ||
        ::stat(name.constData(), &named) != 0 || opened.st_ino != named.st_ino ||
        !S_ISREG(opened.st_mode)) {
        const int err = errno ? errno : ENOENT;
        ::close(fd);
        errno = err;
        return -1;
    }
    return fd;
}

// Writes the copy of the old contents beside the file and gives it its name; a copy of that
// name already there belongs to another save. Returns the copy's descriptor, holding its
// lock until the copy is dropped, or -1 and errno.
int keepOldContents(const QString& folder, const QString& fileName, const QByteArray& keptName,
                    const struct stat& target, QByteArrayView old, QByteArrayView fresh) {
    QByteArray tempName;
    const int copy = createTemporary(folder, fileName, tempName);
    if (copy < 0)
        return -1;
    const QByteArray head = keptCopyHead(target, old, fresh);
    int err = run(SaveStep::KeepOld, [&] {
        // Readable by whoever may read the file, so that its owner can put it right: the
        // file's group and mode, where this user can give them.
        [[maybe_unused]] const int grouped = ::fchown(copy, uid_t(-1), target.st_gid);
        return ::flock(copy, LOCK_EX) == 0 && ::fchmod(copy, (target.st_mode & 0666) | 0600) == 0 &&
               writeAll(copy, head) && writeAll(copy, old) && writeAll(copy, fresh) &&
               ::fdatasync(copy) == 0;
    });
    // Linked, not renamed, under its name: a copy of that name already there stays.
    if (err == 0)
        err = run(SaveStep::KeepOldInstall,
                  [&] { return ::link(tempName.constData(), keptName.constData()) == 0; });
    ::unlink(tempName.constData());
    const bool installed = err == 0;
    if (installed)
        err = syncFolder(folder);
    if (err != 0) {
        if (installed)
            ::unlink(keptName.constData());
        ::close(copy);
        errno = err;
        return -1;
    }
    return copy;
}

// Overwrites the file itself, for a file a rename would take from its owner or its other
// links. The old contents are kept beside it, on the disk, before the first byte is
// overwritten, and dropped once the new contents are on the disk: an interrupted overwrite
// is put right by finishInterruptedOverwrite, a failed one puts them back at once.
FileResult overwriteInPlace(const QString& path, const QString& folder, const QString& fileName,
                            QByteArrayView bytes) {
    const QByteArray target = systemPath(path);
    const int fd = ::open(target.constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return fileFailure(errno, path);
    QByteArray old;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !readAllFrom(fd, old)) {
        const int err = errno;
        ::close(fd);
        return fileFailure(err, path);
    }
    const QByteArray keptName = systemPath(QDir(folder).filePath(keptOldContentsName(fileName)));
    const int copy = keepOldContents(folder, fileName, keptName, st, old, bytes);
    if (copy < 0) {
        const int err = errno;
        ::close(fd);
        return err == EEXIST ? fileInUse() : fileFailure(err, path);
    }
    int err = run(SaveStep::Write, [&] { return writeAllAt(fd, bytes); });
    if (err == 0)
        err = run(SaveStep::Sync, [&] { return ::fdatasync(fd) == 0; });
    // The copy is dropped once the file is whole again: new, or old once more. A copy that
    // could not be dropped holds nothing a later save or reading would put back.
    const bool whole = err == 0 || (writeAllAt(fd, old) && ::fdatasync(fd) == 0);
    if (whole)
        run(SaveStep::DropOld, [&] { return ::unlink(keptName.constData()) == 0; });
    ::close(copy);
    ::close(fd);
    return err == 0 ? FileResult{} : fileFailure(err, path);
}

} // namespace

void syncFileSystemOf(const QString& path) {
    const int fd = ::open(systemPath(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::syncfs(fd);
    ::close(fd);
}

QString temporaryFilePrefix(const QString& fileName) {
    return QLatin1Char('.') + fileName + QStringLiteral(".qzdtmp-");
}

QString keptOldContentsName(const QString& fileName) {
    return QLatin1Char('.') + fileName + QStringLiteral(".qzdkeep");
}

FileResult finishInterruptedOverwrite(const QString& requested) {
    const QString path = followLink(requested);
    const QFileInfo info(path);
    const QByteArray keptName =
        systemPath(QDir(info.absolutePath()).filePath(keptOldContentsName(info.fileName())));
    const int copy = lockKeptCopy(keptName);
    if (copy < 0)
        return {}; // no copy, or the save that made it still runs
    QByteArray kept;
    const bool read = readAllFrom(copy, kept);
    const std::optional<KeptCopy> parsed = read ? parseKeptCopy(kept) : std::nullopt;
    // A copy this program did not write is left alone.
    const int fd = parsed ? ::open(systemPath(path).constData(), O_RDWR | O_CLOEXEC) : -1;
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || st.st_dev != parsed->device ||
        st.st_ino != parsed->inode) {
        // Another file under the name, or one this user may not write: the copy stays for a
        // save that can put it right.
        if (fd >= 0)
            ::close(fd);
        ::close(copy);
        return {};
    }
    QByteArray current;
    int err = readAllFrom(fd, current) ? 0 : errno;
    // The new contents complete: the save only did not drop its copy. Other contents than
    // the save's: the file was written again since, and the copy has nothing left to give.
    const bool restore =
        err == 0 && current != parsed->fresh && isMixtureOf(current, parsed->old, parsed->fresh);
    if (restore && !(writeAllAt(fd, parsed->old) && ::fdatasync(fd) == 0))
        err = errno ? errno : EIO;
    if (err == 0)
        ::unlink(keptName.constData());
    ::close(fd);
    ::close(copy);
    return err == 0 ? FileResult{} : fileFailure(err, path);
}

FileResult writeFileAtomically(const QString& requested, QByteArrayView bytes,
                               Durability durability) {
    const bool sync = durability == Durability::Synced;
    // A link is followed: the file it points to is replaced, the link stays.
    const QString path = followLink(requested);
    if (const FileResult recovered = finishInterruptedOverwrite(path); !recovered.ok())
        return recovered;
    const QByteArray target = systemPath(path);
    struct stat old {};
    const bool exists = ::stat(target.constData(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode))
        return {FileError::PathFileAccess, QStringLiteral("a folder has the file's name")};
    // A device or a FIFO under the name is not replaced by a file.
    if (exists && !S_ISREG(old.st_mode))
        return {FileError::BadFileMode, QStringLiteral("not a regular file")};
    if (isReadOnlyFile(path))
        return {FileError::PermissionDenied, QStringLiteral("the file is read-only")};

    const QFileInfo info(path);
    const QString folder = info.absolutePath();
    // A file with other links keeps them only when written in place.
    if (exists && old.st_nlink > 1)
        return overwriteInPlace(path, folder, info.fileName(), bytes);
    QByteArray tempName;
    const int fd = createTemporary(folder, info.fileName(), tempName);
    if (fd < 0)
        return fileFailure(errno, path);

    auto abandon = [&](int err) {
        ::close(fd);
        ::unlink(tempName.constData());
        return fileFailure(err, path);
    };
    if (const int err = run(SaveStep::Write, [&] { return writeAll(fd, bytes); }))
        return abandon(err);
    if (exists) {
        // A file whose owner or group this user cannot give the new file (another user's
        // file the group may write) is written in place, so its owner keeps access.
        if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
            ::close(fd);
            ::unlink(tempName.constData());
            return overwriteInPlace(path, folder, info.fileName(), bytes);
        }
        if (const int err =
                run(SaveStep::Permissions, [&] { return ::fchmod(fd, old.st_mode & 07777) == 0; }))
            return abandon(err);
    }
    if (sync)
        if (const int err = run(SaveStep::Sync, [&] { return ::fdatasync(fd) == 0; }))
            return abandon(err);
    if (const int err = run(SaveStep::Close, [&] { return ::close(fd) == 0; })) {
        ::unlink(tempName.constData());
        return fileFailure(err, path);
    }
    if (const int err = run(SaveStep::Rename, [&] {
            return ::rename(tempName.constData(), target.constData()) == 0;
        })) {
        ::unlink(tempName.constData());
        return fileFailure(err, path);
    }
    // The rename itself is on the disk only once the folder is.
    const int syncError = sync ? syncFolder(folder) : 0;
    removeStaleTemporaries(folder);
    if (!sync)
        return {};
    if (const int err = run(SaveStep::SyncFolder, [&] {
            errno = syncError;
            return syncError == 0;
        }))
        return fileFailure(err, path);
    return {};
}

} // namespace quillo
