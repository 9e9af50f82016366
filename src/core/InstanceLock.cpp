#include "core/InstanceLock.h"

#include <QFileInfo>
#include <QThread>

namespace instancelock {

namespace {

// How long a live process may take between creating its lock file and writing into it.
constexpr unsigned long kWritingGraceMs = 300;

// The lock file exists and says nothing about its holder.
bool isEmptyLockFile(const QString &path) {
    const QFileInfo info(path);
    return info.exists() && info.isFile() && info.size() == 0;
}

} // namespace

Result take(QLockFile &lock) {
    // Only a lock whose process has died is stale, however old it is.
    lock.setStaleLockTime(0);
    if (lock.tryLock(0))
        return Result::Taken;
    if (lock.error() != QLockFile::LockFailedError)
        return Result::Unusable;
    const QString path = lock.fileName();
    if (!isEmptyLockFile(path))
        return Result::Held;
    QThread::msleep(kWritingGraceMs);
    if (isEmptyLockFile(path))
        QFile::remove(path);
    if (lock.tryLock(0))
        return Result::Taken;
    return lock.error() == QLockFile::LockFailedError ? Result::Held : Result::Unusable;
}

} // namespace instancelock
