#include "atomicfile.h"

#include "fileerror.h"

#include <QSaveFile>

#include <cerrno>

namespace quillo {

FileResult writeFileAtomically(const QString& path, QByteArrayView bytes) {
    if (isReadOnlyFile(path))
        return {FileError::PermissionDenied, QStringLiteral("the file is read-only")};
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    // errno is read right after the failing call: QSaveFile keeps only a message.
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        return {fileErrorNumberFromErrno(errno ? errno : EACCES, path), file.errorString()};
    errno = 0;
    if (file.write(bytes.data(), bytes.size()) != bytes.size()) {
        const FileResult error{fileErrorNumberFromErrno(errno ? errno : EIO, path),
                               file.errorString()};
        file.cancelWriting();
        return error;
    }
    errno = 0;
    if (!file.commit())
        return {fileErrorNumberFromErrno(errno ? errno : EIO, path), file.errorString()};
    return {};
}

} // namespace quillo
