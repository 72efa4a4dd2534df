#include "filelock.h"

#include "systemfile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillo {

namespace {
bool sameFile(int fd, const QByteArray& path) {
    struct stat opened {};
    struct stat named {};
    return ::fstat(fd, &opened) == 0 && ::stat(path.constData(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}
} // namespace

LockedFile::LockedFile(const QString& path, int flags) {
    const QByteArray name = systemPath(path);
    // A file replaced again and again by another writer is given up after a few tries.
    for (int attempt = 0; attempt < 20; ++attempt) {
        const int fd = ::open(name.constData(), flags | O_CLOEXEC);
        if (fd < 0) {
            m_error = errno;
            return;
        }
        if (lockedFileOpenedHook)
            lockedFileOpenedHook();
        int rc;
        do
            rc = ::flock(fd, LOCK_EX);
        while (rc != 0 && errno == EINTR);
        // File systems without flock still get the write, only without the lock.
        if (rc != 0 && errno != ENOLCK && errno != EOPNOTSUPP) {
            m_error = errno;
            ::close(fd);
            return;
        }
        if (sameFile(fd, name)) {
            m_fd = fd;
            m_error = 0;
            return;
        }
        ::close(fd);
        m_error = ESTALE;
    }
}

LockedFile::~LockedFile() {
    if (m_fd >= 0)
        ::close(m_fd); // closing the last descriptor releases the lock
}

} // namespace quillo
