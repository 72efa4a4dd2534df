#include "filelock.h"

#include "systemfile.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillo {

namespace {
// Takes the lock, waiting for another holder until the deadline; 0 or the errno.
int lockBefore(int fd, std::chrono::steady_clock::time_point deadline) {
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return 0;
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline)
            return errno;
        ::usleep(20000);
    }
}

bool sameFile(int fd, const QByteArray& path) {
    struct stat opened {};
    struct stat named {};
    return ::fstat(fd, &opened) == 0 && ::stat(path.constData(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}
} // namespace

LockedFile::LockedFile(const QString& path, int flags) {
    const QByteArray name = systemPath(path);
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(lockWaitMilliseconds);
    // A file replaced again and again by another writer is given up after a few tries.
    for (int attempt = 0; attempt < 20; ++attempt) {
        // Without waiting for a writer, should the name be a FIFO.
        const int fd = ::open(name.constData(), flags | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            m_error = errno;
            return;
        }
        if (lockedFileOpenedHook)
            lockedFileOpenedHook();
        const int err = lockBefore(fd, deadline);
        // File systems without flock still get the write, only without the lock.
        if (err != 0 && err != ENOLCK && err != EOPNOTSUPP) {
            m_error = err;
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
