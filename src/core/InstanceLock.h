#pragma once

#include <QString>
#include <memory>

// One running program per data folder, held through a lock file in that folder.
namespace instancelock {

enum class Result {
    Taken,    // this process now holds the lock
    Held,     // another running process holds it
    Unusable, // the lock file cannot be created (the folder is not writable)
};

// The operating system's lock on the lock file, held from take() until release() or the end of
// the object (or of the process: a crashed run leaves a file that locks nothing). Whatever the
// file holds, even nothing, only a live holder's lock counts, so two programs started at once
// over a crashed run's file cannot both win.
class Lock {
public:
    explicit Lock(QString path);
    ~Lock();
    Lock(const Lock &) = delete;
    Lock &operator=(const Lock &) = delete;

    // Takes the lock without waiting.
    Result take();
    bool isLocked() const;
    // Removes the lock file while still holding it, then lets go.
    void release();
    const QString &fileName() const { return m_path; }

private:
    struct Handle;
    QString m_path;
    std::unique_ptr<Handle> m_handle;
};

} // namespace instancelock
