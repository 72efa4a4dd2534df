#pragma once

#include "fileerror.h"

#include <QByteArrayView>
#include <QString>

#include <functional>

namespace quillo {

// Replaces the file with the bytes: they go to a temporary file in the same folder that is
// renamed over the old file only once it is complete and on the disk, so a failed write
// leaves the old file as it was. The new file keeps the old file's mode. A read-only file is
// never replaced (FileError::PermissionDenied). The first write into a folder in a run
// removes the temporary files that interrupted saves left there.
//
// A file with other links, or one whose owner this user cannot give a new file, is written
// in place instead. Its old contents are first kept in a copy beside it (see
// finishInterruptedOverwrite), so that a kill at any moment leaves the old or the new file.
//
// `Durability::Deferred` leaves out the syncs, for files of a batch that is synced once at its
// end with syncFileSystemOf (an exported site of hundreds of files, which can be made again):
// the file is still complete or absent, never half written, under its name.
enum class Durability { Synced, Deferred };
FileResult writeFileAtomically(const QString& path, QByteArrayView bytes,
                               Durability durability = Durability::Synced);

// Puts everything written on the file system that holds `path` on the disk.
void syncFileSystemOf(const QString& path);

// Puts right an overwrite in place that was interrupted. When the copy of the old contents
// is still beside the file and no save holds it: a file cut short between its old and its
// new contents is given the old ones back; a file that is the complete new file, or was
// written again since, stays as it is. The copy is then dropped. Nothing to do is success;
// a file that needed its old contents and could not be given them is an error. Every save
// and every reading of a help file starts with it.
FileResult finishInterruptedOverwrite(const QString& path);

// The steps of a save that can fail after the temporary file exists. The overwrite in place
// first keeps the old contents (KeepOld: the copy written and synced; KeepOldInstall: given
// its name), then writes (Write, Sync) and finally drops the copy (DropOld).
enum class SaveStep {
    Write,
    Permissions,
    Sync,
    Close,
    Rename,
    SyncFolder,
    KeepOld,
    KeepOldInstall,
    DropOld
};

// For tests: returns the errno a step is to fail with, 0 to let it run.
inline std::function<int(SaveStep)> saveFaultHook;

// The name of the temporary files of `fileName` begin with this.
QString temporaryFilePrefix(const QString& fileName);

// The name of the copy an overwrite in place keeps of the old contents of `fileName`.
QString keptOldContentsName(const QString& fileName);

} // namespace quillo
