#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

namespace quillo {

// Counts the running copies of a program. Each copy holds a lock file "<program>-<n>.lock"
// in the user's runtime folder for as long as it runs; a lock left behind by a copy that
// crashed belongs to no live process, so it is cleared and not counted.
class RunningCopies {
public:
    // `folder` empty: the user's runtime folder ($XDG_RUNTIME_DIR) + "/quillo32".
    explicit RunningCopies(const QString& program, const QString& folder = {});
    ~RunningCopies();
    RunningCopies(const RunningCopies&) = delete;
    RunningCopies& operator=(const RunningCopies&) = delete;

    // Takes the lowest free slot; false when no lock could be made (the folder is not
    // writable). Registering twice keeps the first slot.
    bool registerCopy();
    void unregisterCopy();
    bool isRegistered() const { return m_lock != nullptr; }

    // Live copies, this one included when it is registered.
    int count() const;

    QString folder() const { return m_folder; }

private:
    QString lockPath(int slot) const;

    QString m_program;
    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
    QString m_lockPath;
};

} // namespace quillo
