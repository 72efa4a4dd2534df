#pragma once

#include "fileerror.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <functional>

namespace quillo {

// File names as the system gives them. A Linux file name is bytes, usually UTF-8; a name
// written under another encoding (a Shift_JIS name copied from an old disk) is not. Bytes
// that are not part of valid UTF-8 are carried in the QString as U+DC80..U+DCFF, one code
// unit each, so that the name goes back to the system unchanged. Valid UTF-8 never yields
// those code units, so every name survives the round trip.
QString pathFromSystem(QByteArrayView bytes);
QByteArray systemPath(const QString& path);

// The command-line arguments after the program's name, each taken from its own bytes.
// Qt's own decoding turns bytes that are not UTF-8 into U+FFFD, which no file has in its name.
QStringList argumentsFromSystem(int argc, const char* const* argv);

// Appends everything left to read from the descriptor to `out`; false (errno set) on a
// read error.
bool readAllFrom(int fd, QByteArray& out);

// A file opened to be read. Only a regular file is kept open: a device, a FIFO or a socket
// could be read without end or wait for a writer that never comes.
class FileForReading {
public:
    // Opens without waiting (a FIFO without a writer opens at once) and checks the kind.
    explicit FileForReading(const QString& path);
    ~FileForReading();
    FileForReading(const FileForReading&) = delete;
    FileForReading& operator=(const FileForReading&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    int fd() const { return m_fd; }
    // The length the file had when it was opened.
    qint64 size() const { return m_size; }
    // True when the path names something that is not a file or a folder.
    bool notRegular() const { return m_notRegular; }
    // Why the file is not open (a folder is PathFileAccess, another kind BadFileMode).
    const FileResult& error() const { return m_error; }

private:
    int m_fd = -1;
    qint64 m_size = 0;
    bool m_notRegular = false;
    FileResult m_error;
};

// Reads the whole file into `out`; anything but a regular file is refused. `afterOpen` runs
// once the file is open (for tests that change the file at that moment).
FileResult readWholeFile(const QString& path, QByteArray& out,
                         const std::function<void()>& afterOpen = {});

// True when something of that name exists (a link counts, even a broken one).
bool pathExists(const QString& path);

} // namespace quillo
