#include "fileerror.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace quillo {

int fileErrorNumberFromErrno(int err, const QString& path) {
    switch (err) {
    case 0:
        return FileError::None;
    case ENOENT:
        if (!path.isEmpty() && !QFileInfo(path).absoluteDir().exists())
            return FileError::PathNotFound;
        return FileError::FileNotFound;
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

int openForReadingError(const QString& path) {
    // The descriptor is opened directly so that errno tells why a file cannot be read.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return fileErrorNumberFromErrno(errno, path);
    ::close(fd);
    return FileError::None;
}

bool isReadOnlyFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() || info.isDir())
        return false;
    const auto writeBits = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    return !info.isWritable() || !(info.permissions() & writeBits);
}

} // namespace quillo
