#include "systemfile.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillo {

namespace {

constexpr char16_t CarriedByteBase = 0xDC00;

bool isContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence at the start of `s`, or 0 when it is not one
// (overlong forms, encoded surrogates and code points above U+10FFFF are not valid).
qsizetype validSequenceLength(const unsigned char* s, qsizetype left) {
    const unsigned char c = s[0];
    if (c < 0x80)
        return 1;
    qsizetype length = 0;
    unsigned char low = 0x80, high = 0xBF; // the allowed range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        if (c == 0xE0)
            low = 0xA0;
        else if (c == 0xED)
            high = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        if (c == 0xF0)
            low = 0x90;
        else if (c == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (left < length || s[1] < low || s[1] > high)
        return 0;
    for (qsizetype i = 2; i < length; ++i)
        if (!isContinuation(s[i]))
            return 0;
    return length;
}

} // namespace

QString pathFromSystem(QByteArrayView bytes) {
    if (bytes.isValidUtf8())
        return QString::fromUtf8(bytes);
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    QString out;
    out.reserve(n);
    qsizetype i = 0;
    while (i < n) {
        const qsizetype length = validSequenceLength(s + i, n - i);
        if (length == 0) {
            out.append(QChar(char16_t(CarriedByteBase + s[i])));
            ++i;
            continue;
        }
        out.append(QString::fromUtf8(reinterpret_cast<const char*>(s + i), length));
        i += length;
    }
    return out;
}

QByteArray systemPath(const QString& path) {
    const bool carriesBytes = std::any_of(path.cbegin(), path.cend(), [](QChar c) {
        return c.unicode() >= CarriedByteBase + 0x80 && c.unicode() <= CarriedByteBase + 0xFF;
    });
    if (!carriesBytes)
        return path.toUtf8();
    QByteArray out;
    out.reserve(path.size() * 3);
    const qsizetype n = path.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = path.at(i).unicode();
        if (u >= CarriedByteBase + 0x80 && u <= CarriedByteBase + 0xFF) {
            out.append(char(u - CarriedByteBase));
            continue;
        }
        // A surrogate pair is encoded whole; anything else one code unit at a time.
        const qsizetype length =
            QChar::isHighSurrogate(u) && i + 1 < n && path.at(i + 1).isLowSurrogate() ? 2 : 1;
        out.append(QStringView(path).mid(i, length).toUtf8());
        i += length - 1;
    }
    return out;
}

QStringList argumentsFromSystem(int argc, const char* const* argv) {
    QStringList out;
    for (int i = 1; i < argc; ++i)
        out.append(pathFromSystem(argv[i]));
    return out;
}

bool readAllFrom(int fd, QByteArray& out) {
    // Reads straight into the array, first sized from the file's length (one byte more, to
    // see the end), so a large file is copied once; when full, the room doubles.
    struct stat st {};
    const bool sized = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0;
    qsizetype filled = out.size();
    out.resize(filled + (sized ? qsizetype(st.st_size) + 1 : 65536));
    for (;;) {
        if (filled == out.size())
            out.resize(filled + std::max<qsizetype>(filled, 65536));
        const ssize_t n = ::read(fd, out.data() + filled, size_t(out.size() - filled));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int err = errno;
            out.resize(filled);
            errno = err;
            return n == 0;
        }
        filled += n;
    }
}

FileForReading::FileForReading(const QString& path) {
    const int fd = ::open(systemPath(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        m_error = fileFailure(errno, path);
        return;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        m_error = fileFailure(errno, path);
        ::close(fd);
        return;
    }
    if (S_ISREG(st.st_mode)) {
        m_fd = fd;
        m_size = st.st_size;
        return;
    }
    ::close(fd);
    if (S_ISDIR(st.st_mode)) {
        m_error = fileFailure(EISDIR, path);
        return;
    }
    m_notRegular = true;
    m_error = {FileError::BadFileMode, QStringLiteral("not a regular file")};
}

FileForReading::~FileForReading() {
    if (m_fd >= 0)
        ::close(m_fd);
}

FileResult readWholeFile(const QString& path, QByteArray& out,
                         const std::function<void()>& afterOpen) {
    out.clear();
    const FileForReading file(path);
    if (!file.isOpen())
        return file.error();
    if (afterOpen)
        afterOpen();
    if (!readAllFrom(file.fd(), out)) {
        const int err = errno;
        out.clear();
        return fileFailure(err, path);
    }
    return {};
}

bool pathExists(const QString& path) {
    struct stat st {};
    return ::lstat(systemPath(path).constData(), &st) == 0;
}

} // namespace quillo
