#pragma once

#include "core/atomicfile.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quillo::test {

// Saves the bytes in a process of its own that is killed when the save comes to `step`,
// after writing half the bytes over the file when `halfWritten`. True once it was killed.
inline bool saveKilledAt(const QString& path, const QByteArray& bytes, SaveStep step,
                         bool halfWritten) {
    const pid_t child = ::fork();
    if (child == 0) {
        saveFaultHook = [&](SaveStep s) {
            if (s != step)
                return 0;
            if (halfWritten) {
                const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY);
                ::pwrite(fd, bytes.constData(), size_t(bytes.size() / 2), 0);
                ::close(fd);
            }
            ::kill(::getpid(), SIGKILL);
            return 0;
        };
        writeFileAtomically(path, bytes);
        ::_exit(0);
    }
    int status = 0;
    return ::waitpid(child, &status, 0) == child && WIFSIGNALED(status);
}

} // namespace quillo::test
