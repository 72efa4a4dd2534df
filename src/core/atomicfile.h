#pragma once

#include "fileerror.h"

#include <QByteArrayView>
#include <QString>

#include <functional>

namespace quillo {

// Replaces the file with the bytes: they go to a temporary file in the same folder that is
// renamed over the old file only once it is complete and on the disk, so a failed write
// leaves the old file as it was. The new file keeps the old file's mode. A read-only file is
// never replaced (FileError::PermissionDenied). Temporary files of the same target left by
// an interrupted earlier save are removed once the file is replaced.
//
// `Durability::Deferred` leaves out the syncs, for files of a batch that is synced once at its
// end with syncFileSystemOf (an exported site of hundreds of files, which can be made again):
// the file is still complete or absent, never half written, under its name.
enum class Durability { Synced, Deferred };
FileResult writeFileAtomically(const QString& path, QByteArrayView bytes,
                               Durability durability = Durability::Synced);

// Puts everything written on the file system that holds `path` on the disk.
void syncFileSystemOf(const QString& path);

// The steps of a save that can fail after the temporary file exists.
enum class SaveStep { Write, Permissions, Sync, Close, Rename, SyncFolder };

// For tests: returns the errno a step is to fail with, 0 to let it run.
inline std::function<int(SaveStep)> saveFaultHook;

// The name of the temporary files of `fileName` begin with this.
QString temporaryFilePrefix(const QString& fileName);

} // namespace quillo
