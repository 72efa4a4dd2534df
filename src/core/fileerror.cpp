#include "fileerror.h"

#include "systemfile.h"

#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillo {

namespace {

bool isFolder(const QString& path) {
    struct stat st {};
    return ::stat(systemPath(path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

int fileErrorNumberFromErrno(int err, const QString& path) {
    switch (err) {
    case 0:
        return FileError::None;
    case ENOENT:
        if (!path.isEmpty() && !isFolder(QFileInfo(path).absolutePath()))
            return FileError::PathNotFound;
        return FileError::FileNotFound;
    case EISDIR:
        return FileError::PathFileAccess;
    case ENOTDIR:
        return FileError::PathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
        return FileError::PermissionDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return FileError::DiskFull;
    case EIO:
        return FileError::DeviceIO;
    case ENXIO:
    case ENODEV:
        return FileError::DeviceUnavailable;
    case EMFILE:
    case ENFILE:
        return FileError::TooManyFiles;
    case ENAMETOOLONG:
    case EINVAL:
        return FileError::BadFileName;
    default:
        return FileError::OtherBase + err;
    }
}

FileResult fileFailure(int err, const QString& path) {
    return {fileErrorNumberFromErrno(err, path), QString::fromLocal8Bit(std::strerror(err))};
}

FileResult fileInUse() {
    return {FileError::FileInUse, QStringLiteral("the file is in use by another program")};
}

bool refusedByFolder(const FileResult& result, const QString& path) {
    return result.errorNumber == FileError::PermissionDenied && !isReadOnlyFile(path);
}

int openForReadingError(const QString& path) {
    // The descriptor is opened directly so that errno tells why a file cannot be read;
    // without waiting, so that a FIFO without a writer does not hold the program.
    const int fd = ::open(systemPath(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return fileErrorNumberFromErrno(errno, path);
    ::close(fd);
    return FileError::None;
}

bool isReadOnlyFile(const QString& path) {
    const QByteArray name = systemPath(path);
    struct stat st {};
    if (::stat(name.constData(), &st) != 0 || S_ISDIR(st.st_mode))
        return false;
    return ::access(name.constData(), W_OK) != 0 || !(st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH));
}

} // namespace quillo
