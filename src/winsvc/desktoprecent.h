#pragma once

#include <QString>

namespace quillo {

// The desktop's list of recently used files, `recently-used.xbel` in $XDG_DATA_HOME, which
// GTK and KDE programs and the file managers share.
QString desktopRecentFilesPath();

// Adds the help file at `path` to that list as opened or saved now by `program` (the name of
// its executable), as GTK programs record it: the file's address, its type and the program
// with a use count. A list that cannot be read is left as it is; returns false then or when
// the list cannot be written. The list is the desktop's, so a failure is never reported to
// the user.
bool addToDesktopRecentFiles(
    const QString& path, const QString& program,
    const QString& mimeType = QStringLiteral("application/x-quillo32-help"));

} // namespace quillo
