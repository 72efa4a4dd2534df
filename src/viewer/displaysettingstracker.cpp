#include "viewer/displaysettingstracker.h"

#include "core/atomicfile.h"
#include "core/filelock.h"
#include "core/helpfile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace quillo::viewer {

namespace {

FileResult failure(int err, const QString& path) {
    return {fileErrorNumberFromErrno(err, path), QString::fromLocal8Bit(std::strerror(err))};
}

bool writeAllAt(int fd, QByteArrayView bytes, off_t offset) {
    while (!bytes.isEmpty()) {
        const ssize_t n = ::pwrite(fd, bytes.data(), bytes.size(), offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        bytes = bytes.sliced(n);
        offset += n;
    }
    return true;
}

} // namespace

void DisplaySettingsTracker::loaded(const WindowRect& rectAtLoad) {
    m_loadRect = rectAtLoad;
    m_loadListWidth = m_settings.listWidth;
    m_loadTopmost = m_settings.topmost;
    m_loadWindowState = m_settings.windowState;
}

void DisplaySettingsTracker::recordNormal(const WindowRect& current) {
    m_rectBeforeLastRecord = windowRectOf(m_settings);
    m_lastRecordedRect = current;
    storeWindowRect(m_settings, current);
    m_settings.windowState = 0;
}

void DisplaySettingsTracker::recordMaximised() {
    if (m_settings.topmost != 1)
        m_settings.windowState = 2;
}

void DisplaySettingsTracker::maximisedAt(const WindowRect& current) {
    if (m_lastRecordedRect == current)
        storeWindowRect(m_settings, m_rectBeforeLastRecord);
}

void DisplaySettingsTracker::closing(const WindowRect& current, int listWidth) {
    storeWindowRect(m_settings, current);
    m_settings.listWidth = qint16(listWidth);
}

bool DisplaySettingsTracker::changedSinceLoad() const {
    return windowRectOf(m_settings) != m_loadRect || m_settings.listWidth != m_loadListWidth ||
           m_settings.topmost != m_loadTopmost || m_settings.windowState != m_loadWindowState;
}

FileResult writeDisplaySettingsBack(const QString& path, const DisplaySettings& s) {
    // A file marked read-only stays as it is, for the administrator too.
    if (isReadOnlyFile(path))
        return {FileError::PermissionDenied, QStringLiteral("the file is read-only")};
    const LockedFile file(path, O_RDWR);
    if (!file.isOpen())
        return failure(file.error(), path);
    // A save in place cut short is put right first: fields written into a file left between
    // its old and its new contents would make it neither.
    if (const FileResult recovered = finishInterruptedOverwrite(path); !recovered.ok())
        return recovered;
    // The header as it stands now: a save by the authoring program since the viewer opened
    // the file is kept, and a file that is no longer a help file is left alone.
    char header[HeaderFixedLength];
    const ssize_t got = ::pread(file.fd(), header, sizeof header, 0);
    if (got < 0)
        return failure(errno, path);
    HelpFileHeader current;
    const ReadResult read =
        parseHelpFileHeader(QByteArrayView(header, got), current, Reader::Viewer);
    if (!read.ok())
        return {FileError::BadFileMode, read.reason};
    if (current.settingsOffset != DisplaySettingsOffset)
        return {FileError::BadFileMode, QStringLiteral("the tag is not 16 single-byte characters")};

    DisplaySettings out = current.settings;
    storeWindowRect(out, windowRectOf(s));
    out.listWidth = s.listWidth;
    out.topmost = s.topmost;
    out.windowState = s.windowState;
    out.applyWriteDefaults();
    const QByteArray fields = displaySettingsBytes(out);
    // Only the tag and the window fields are written, in place: the pages, the owner, the
    // mode and the links of the file stay. Both writes are smaller than a block, so a
    // failure leaves them as they were.
    if (!writeAllAt(file.fd(), QByteArrayView(FormatTag, FormatTagLength), 0) ||
        !writeAllAt(file.fd(), fields, DisplaySettingsOffset) || ::fdatasync(file.fd()) != 0)
        return failure(errno, path);
    return {};
}

} // namespace quillo::viewer
