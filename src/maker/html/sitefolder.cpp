#include "sitefolder.h"

#include "core/atomicfile.h"
#include "core/systemfile.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace quillo::maker::html {

namespace {

// The entry's own status, a link's not followed; false when there is nothing of that name.
bool entryStatus(int folder, const QByteArray& name, struct stat& st) {
    return ::fstatat(folder, name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0;
}

} // namespace

SiteFolder::SiteFolder(SiteFolder&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_path(std::move(other.m_path)) {}

SiteFolder& SiteFolder::operator=(SiteFolder&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
        m_path = std::move(other.m_path);
    }
    return *this;
}

SiteFolder::~SiteFolder() {
    if (m_fd >= 0)
        ::close(m_fd);
}

FileResult SiteFolder::open(const QString& path, SiteFolder& folder) {
    const int fd = ::open(systemPath(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return fileFailure(errno, path);
    folder = SiteFolder();
    folder.m_fd = fd;
    folder.m_path = path;
    return {};
}

QString SiteFolder::filePath(const QString& name) const {
    return m_path + QLatin1Char('/') + name;
}

FileResult SiteFolder::write(const QString& name, QByteArrayView bytes) const {
    const QByteArray target = systemPath(name);
    struct stat st {};
    if (entryStatus(m_fd, target, st)) {
        if (S_ISDIR(st.st_mode))
            return {FileError::PathFileAccess, QStringLiteral("a folder has the file's name")};
        if (S_ISREG(st.st_mode) &&
            (!(st.st_mode & 0222) || ::faccessat(m_fd, target.constData(), W_OK, AT_EACCESS) != 0))
            return {FileError::PermissionDenied, QStringLiteral("the file is read-only")};
    }
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = systemPath(temporaryFilePrefix(name) +
                               QString::number(QRandomGenerator::global()->generate(), 36));
        fd = ::openat(m_fd, temporary.constData(),
                      O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return fileFailure(errno, filePath(name));
    }
    if (fd < 0)
        return fileFailure(EEXIST, filePath(name));
    // Written through a file object that owns the descriptor; errno tells why a write failed.
    QFile file;
    errno = 0;
    bool ok =
        file.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle);
    if (!ok)
        ::close(fd);
    ok = ok && file.write(bytes.data(), bytes.size()) == bytes.size();
    int error = errno;
    file.close();
    if (ok && file.error() != QFileDevice::NoError) {
        ok = false;
        error = errno ? errno : EIO;
    }
    // The rename replaces whatever entry stands at the name, a link included, and never
    // writes into what a link points to.
    if (ok && ::renameat(m_fd, temporary.constData(), m_fd, target.constData()) != 0) {
        ok = false;
        error = errno;
    }
    if (ok)
        return {};
    ::unlinkat(m_fd, temporary.constData(), 0);
    return fileFailure(error ? error : EIO, filePath(name));
}

FileResult SiteFolder::read(const QString& name, QByteArray& bytes) const {
    const int fd = ::openat(m_fd, systemPath(name).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return fileFailure(errno, filePath(name));
    bytes.clear();
    const bool ok = readAllFrom(fd, bytes);
    const int error = errno;
    ::close(fd);
    return ok ? FileResult{} : fileFailure(error, filePath(name));
}

FileResult SiteFolder::remove(const QString& name) const {
    if (::unlinkat(m_fd, systemPath(name).constData(), 0) != 0)
        return fileFailure(errno, filePath(name));
    return {};
}

FileResult SiteFolder::makeSubfolder(const QString& name, SiteFolder& subfolder) const {
    const QByteArray entry = systemPath(name);
    struct stat st {};
    if (entryStatus(m_fd, entry, st) && !S_ISDIR(st.st_mode)) {
        // A link is not entered: it goes, and a folder of the export's own takes its place.
        if (S_ISREG(st.st_mode))
            return fileFailure(ENOTDIR, filePath(name));
        if (::unlinkat(m_fd, entry.constData(), 0) != 0)
            return fileFailure(errno, filePath(name));
    }
    if (::mkdirat(m_fd, entry.constData(), 0777) != 0 && errno != EEXIST)
        return fileFailure(errno, filePath(name));
    const int fd =
        ::openat(m_fd, entry.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return fileFailure(errno, filePath(name));
    subfolder = SiteFolder();
    subfolder.m_fd = fd;
    subfolder.m_path = filePath(name);
    return {};
}

SiteFolder SiteFolder::existingSubfolder(const QString& name) const {
    SiteFolder subfolder;
    subfolder.m_fd = ::openat(m_fd, systemPath(name).constData(),
                              O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (subfolder.isOpen())
        subfolder.m_path = filePath(name);
    return subfolder;
}

void SiteFolder::removeEmptySubfolder(const QString& name) const {
    // A link of that name is no folder and stays; a folder with anything in it stays.
    ::unlinkat(m_fd, systemPath(name).constData(), AT_REMOVEDIR);
}

QStringList SiteFolder::entryNames() const {
    QStringList names;
    // A descriptor of its own, so that reading the entries moves no shared position.
    const int fd = ::openat(m_fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return names;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return names;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArrayView name(entry->d_name);
        if (name != "." && name != "..")
            names << pathFromSystem(name);
    }
    ::closedir(dir);
    return names;
}

} // namespace quillo::maker::html
