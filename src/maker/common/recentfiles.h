#pragma once

#include "core/fileerror.h"

#include <QString>
#include <QStringList>

// The recent help files of the File menu, most recent first, and their file qzd32mkf.ini
// (one full path per line, CR LF, nothing else).
namespace quillo::maker {

class RecentFiles {
public:
    static constexpr int MaxEntries = 8;

    const QStringList& paths() const { return paths_; }
    int count() const { return int(paths_.size()); }
    // Set whenever the list differs from its file.
    bool isDirty() const { return dirty_; }
    void setDirty(bool dirty) { dirty_ = dirty; }

    // Loads the lines of a list file: empty lines and repeats are skipped (and make the list
    // dirty), lines after the eighth entry are ignored.
    void load(const QStringList& lines);

    // Puts the path at the top: an entry already in the list moves there, a new one pushes
    // the others down and the ninth falls off.
    void add(const QString& path);

    // Moves entry `index` (0-based) to the top without marking the list dirty; the caller
    // decides, as choosing an entry does.
    void moveToTop(int index);

    // Removes entry `index` (0-based).
    void remove(int index);

private:
    QStringList paths_;
    bool dirty_ = false;
};

struct RecentReadResult {
    int errorNumber = 0;  // 0 when the file was read (or silently created)
    bool created = false; // a new empty file was made
    bool ok() const { return errorNumber == 0; }
};

// Reads the list file into `list`. A missing file is created empty without complaint;
// other faults leave the entries read so far.
RecentReadResult readRecentFile(const QString& path, RecentFiles& list);

// Writes the list whole. A read-only file is never written: FileError::PermissionDenied
// comes back and the caller gives the write-protect warning.
FileResult writeRecentFile(const QString& path, const RecentFiles& list);

// Warning texts of the list file. An empty result means no warning.
QString recentReadWarningText(const RecentReadResult& result);
QString recentWriteProtectedText(const QString& path);
QString recentWriteWarningText(const QString& path, int errorNumber);
// The question asked when a chosen entry's file cannot be opened.
QString recentRemoveQuestionText(const QString& path, int errorNumber);

} // namespace quillo::maker
