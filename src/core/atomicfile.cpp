#include "atomicfile.h"

#include "fileerror.h"
#include "systemfile.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
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

void removeStaleTemporaries(const QString& folder, const QString& fileName) {
    // The folder is read by its bytes, so that a name that is not UTF-8 still matches.
    const QByteArray folderName = systemPath(folder);
    const QByteArray prefix = systemPath(temporaryFilePrefix(fileName));
    DIR* dir = ::opendir(folderName.constData());
    if (!dir)
        return;
    const time_t now = ::time(nullptr);
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArrayView name(entry->d_name);
        if (!name.startsWith(prefix))
            continue;
        const QByteArray stale = folderName + '/' + name.toByteArray();
        struct stat st {};
        if (::lstat(stale.constData(), &st) == 0 && S_ISREG(st.st_mode) &&
            now - st.st_mtime >= StaleAfterSeconds)
            ::unlink(stale.constData());
    }
    ::closedir(dir);
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

// Overwrites the file itself, for a file a rename would take from its owner or its other
// links. The old contents are first copied beside it, so that an interrupted overwrite
// leaves them on the disk; a failed one puts them back.
FileResult overwriteInPlace(const QString& path, const QString& folder, const QString& fileName,
                            QByteArrayView bytes) {
    const QByteArray target = systemPath(path);
    const int fd = ::open(target.constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return fileFailure(errno, path);
    QByteArray old;
    QByteArray copyName;
    int copy = -1;
    errno = 0;
    bool ok = readAllFrom(fd, old) && (copy = createTemporary(folder, fileName, copyName)) >= 0 &&
              writeAll(copy, old) && ::fdatasync(copy) == 0;
    int err = errno ? errno : EIO;
    if (copy >= 0 && ::close(copy) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        if (copy >= 0)
            ::unlink(copyName.constData());
        ::close(fd);
        return fileFailure(err, path);
    }
    if (const int e = run(SaveStep::Write, [&] { return writeAllAt(fd, bytes); }))
        err = e;
    else if (const int e = run(SaveStep::Sync, [&] { return ::fdatasync(fd) == 0; }))
        err = e;
    else
        err = 0;
    if (err != 0) {
        // The copy stays only when the old contents could not be put back.
        if (writeAllAt(fd, old) && ::fdatasync(fd) == 0)
            ::unlink(copyName.constData());
        ::close(fd);
        return fileFailure(err, path);
    }
    if (const int e = run(SaveStep::Close, [&] { return ::close(fd) == 0; }))
        return fileFailure(e, path); // the copy of the old contents stays beside the file
    ::unlink(copyName.constData());
    return {};
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

FileResult writeFileAtomically(const QString& requested, QByteArrayView bytes,
                               Durability durability) {
    const bool sync = durability == Durability::Synced;
    // A link is followed: the file it points to is replaced, the link stays.
    QString path = requested;
    struct stat linkStat {};
    if (::lstat(systemPath(requested).constData(), &linkStat) == 0 && S_ISLNK(linkStat.st_mode))
        if (char* resolved = ::realpath(systemPath(requested).constData(), nullptr)) {
            path = pathFromSystem(resolved);
            ::free(resolved);
        }
    const QByteArray target = systemPath(path);
    struct stat old {};
    const bool exists = ::stat(target.constData(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode))
        return {FileError::PathFileAccess, QStringLiteral("a folder has the file's name")};
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
    // The rename itself is on the disk only once the folder is. A folder that cannot be
    // opened for reading, or a file system that cannot sync folders, is left as it is.
    int syncError = 0;
    const int dirFd =
        sync ? ::open(systemPath(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1;
    if (dirFd >= 0) {
        if (::fsync(dirFd) != 0 && errno != EINVAL)
            syncError = errno;
        ::close(dirFd);
    }
    removeStaleTemporaries(folder, info.fileName());
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
