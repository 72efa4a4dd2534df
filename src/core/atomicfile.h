#pragma once

#include <QByteArrayView>
#include <QString>

namespace quillo {

struct FileWriteError {
    int number = 0; // file error number; 0 when the file was written
    QString message;
    bool ok() const { return number == 0; }
};

// Replaces the file with the bytes: they go to a temporary file in the same folder that is
// renamed over the old file only once complete, so a failed write leaves the old file as it
// was. A read-only file is never replaced (FileError::PermissionDenied).
FileWriteError writeFileAtomically(const QString& path, QByteArrayView bytes);

} // namespace quillo
