#pragma once

#include "fileerror.h"

#include <QByteArrayView>
#include <QString>

namespace quillo {

// Replaces the file with the bytes: they go to a temporary file in the same folder that is
// renamed over the old file only once complete, so a failed write leaves the old file as it
// was. A read-only file is never replaced (FileError::PermissionDenied).
FileResult writeFileAtomically(const QString& path, QByteArrayView bytes);

} // namespace quillo
