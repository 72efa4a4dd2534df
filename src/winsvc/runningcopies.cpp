#include "winsvc/runningcopies.h"

#include <QDir>
#include <QStandardPaths>

namespace quillo {

namespace {
// More slots than copies anyone runs; bounds the search when the folder misbehaves.
constexpr int MaxSlots = 1000;

std::unique_ptr<QLockFile> makeLock(const QString& path) {
    auto lock = std::make_unique<QLockFile>(path);
    // A copy runs for hours: only a dead owner makes a lock stale, never its age.
    lock->setStaleLockTime(0);
    return lock;
}
} // namespace

RunningCopies::RunningCopies(const QString& program, const QString& folder)
    : m_program(program), m_folder(folder) {
    if (m_folder.isEmpty())
        m_folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + "/quillo32";
}

RunningCopies::~RunningCopies() {
    unregisterCopy();
}

QString RunningCopies::lockPath(int slot) const {
    return QStringLiteral("%1/%2-%3.lock").arg(m_folder, m_program).arg(slot);
}

bool RunningCopies::registerCopy() {
    if (m_lock)
        return true;
    if (!QDir().mkpath(m_folder))
        return false;
    for (int slot = 1; slot <= MaxSlots; ++slot) {
        auto lock = makeLock(lockPath(slot));
        // tryLock clears a stale lock of a dead copy and takes its slot.
        if (lock->tryLock(0)) {
            m_lock = std::move(lock);
            m_lockPath = lockPath(slot);
            return true;
        }
        if (lock->error() != QLockFile::LockFailedError)
            return false;
    }
    return false;
}

void RunningCopies::unregisterCopy() {
    if (!m_lock)
        return;
    m_lock->unlock();
    m_lock.reset();
    m_lockPath.clear();
}

int RunningCopies::count() const {
    const QDir dir(m_folder);
    const QStringList names =
        dir.entryList({m_program + QStringLiteral("-*.lock")}, QDir::Files | QDir::Hidden);
    int live = m_lock ? 1 : 0;
    for (const QString& name : names) {
        const QString path = dir.filePath(name);
        if (path == m_lockPath)
            continue;
        auto probe = makeLock(path);
        if (probe->tryLock(0)) {
            // Nobody held it (a crashed copy's lock, now cleared): not a running copy.
            probe->unlock();
            continue;
        }
        // Held by a live process, or unreadable: count it rather than let a second copy
        // believe it is the last one.
        ++live;
    }
    return live;
}

} // namespace quillo
