#pragma once

#include "core/fileerror.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace quillo::maker::html {

// A folder an export writes into, held open by its descriptor, so that nothing standing inside
// it leads the export out of it: a file is written as a new regular file renamed over its
// name (a link or device standing there is replaced, never written through), read and removed
// without following a link, and a subfolder is entered only when it is a real folder. The
// folder itself may be reached through a link the user named.
//
// Files are written without a sync each (an exported site is synced once at its end) and get
// the mode the user's umask gives a new file: a site's files never carry execute bits.
class SiteFolder {
public:
    SiteFolder() = default;
    SiteFolder(SiteFolder&& other) noexcept;
    SiteFolder& operator=(SiteFolder&& other) noexcept;
    SiteFolder(const SiteFolder&) = delete;
    SiteFolder& operator=(const SiteFolder&) = delete;
    ~SiteFolder();

    // Opens the folder at `path`.
    static FileResult open(const QString& path, SiteFolder& folder);

    bool isOpen() const { return m_fd >= 0; }
    const QString& path() const { return m_path; }
    QString filePath(const QString& name) const;

    // Writes the file `name` whole or not at all. A folder of that name, or a read-only file,
    // is an error.
    FileResult write(const QString& name, QByteArrayView bytes) const;
    FileResult read(const QString& name, QByteArray& bytes) const;
    // Removes the entry `name` itself (a link, not what it points to); a folder stays.
    FileResult remove(const QString& name) const;

    // The subfolder `name`, made when missing. A link (or anything else that is no folder but
    // a regular file) standing there is replaced by a new folder; a regular file is an error.
    FileResult makeSubfolder(const QString& name, SiteFolder& subfolder) const;
    // The subfolder `name` when it is a real folder; not open otherwise.
    SiteFolder existingSubfolder(const QString& name) const;
    // Removes the subfolder `name` when it is a real, empty folder.
    void removeEmptySubfolder(const QString& name) const;

    // The names of the entries in the folder, without "." and "..".
    QStringList entryNames() const;

private:
    int m_fd = -1;
    QString m_path;
};

} // namespace quillo::maker::html
