#pragma once

#include <QString>

#include <functional>

namespace quillo {

// An open descriptor of a help file holding an exclusive advisory lock (flock) on it. The
// authoring program's save and the viewer's write-back both take it, so neither writes while
// the other is between reading and replacing the file. A save replaces the file by rename:
// once the lock is held, the descriptor is checked to still be the file the path names, and
// the file is opened anew if it was replaced meanwhile. A lock another program holds is
// waited for at most lockWaitMilliseconds; the file is then not open and error() is
// EWOULDBLOCK.
class LockedFile {
public:
    // flags: O_RDONLY or O_RDWR. A missing file is not created.
    LockedFile(const QString& path, int flags);
    ~LockedFile();
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    int fd() const { return m_fd; }
    // errno of the failed open or lock, 0 when open.
    int error() const { return m_error; }

private:
    int m_fd = -1;
    int m_error = 0;
};

// How long a writer waits for another program to let go of the file: long enough for a save
// or a write-back to end, short enough that a program held up shows its message soon.
inline int lockWaitMilliseconds = 3000;

// For tests: called after the file is opened and before it is locked, so a test can replace
// the file at that moment.
inline std::function<void()> lockedFileOpenedHook;

} // namespace quillo
