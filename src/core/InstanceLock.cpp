#include "core/InstanceLock.h"

#include <QFile>

#ifdef Q_OS_WIN
#include <QLockFile>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace instancelock {

#ifdef Q_OS_WIN

// Windows keeps QLockFile's handle open without delete sharing, so a live holder's file can be
// neither removed nor taken; a file no process has open (even an empty one) is removed and taken.
struct Lock::Handle {
    QLockFile file;
    explicit Handle(const QString &path) : file(path) { file.setStaleLockTime(0); }
};

Result Lock::take() {
    if (isLocked())
        return Result::Taken;
    m_handle = std::make_unique<Handle>(m_path);
    if (m_handle->file.tryLock(0))
        return Result::Taken;
    const bool held = m_handle->file.error() == QLockFile::LockFailedError;
    if (held && QFile::remove(m_path) && m_handle->file.tryLock(0))
        return Result::Taken;
    const QLockFile::LockError error = m_handle->file.error();
    m_handle.reset();
    return error == QLockFile::LockFailedError ? Result::Held : Result::Unusable;
}

bool Lock::isLocked() const {
    return m_handle && m_handle->file.isLocked();
}

void Lock::release() {
    m_handle.reset(); // QLockFile removes its file on unlock
}

#else

struct Lock::Handle {
    int fd = -1;
};

Result Lock::take() {
    if (isLocked())
        return Result::Taken;
    const QByteArray path = QFile::encodeName(m_path);
    // A holder removes the file before letting go, so a lock won on a file that is no longer
    // the one at the path locks nothing: open the path again and retry.
    for (;;) {
        // Not inherited: a program started from here must not keep the lock alive.
        const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0)
            return Result::Unusable;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            ::close(fd);
            return error == EWOULDBLOCK ? Result::Held : Result::Unusable;
        }
        struct stat opened {};
        struct stat named {};
        if (::fstat(fd, &opened) == 0 && ::stat(path.constData(), &named) == 0 &&
            opened.st_dev == named.st_dev && opened.st_ino == named.st_ino) {
            m_handle = std::make_unique<Handle>();
            m_handle->fd = fd;
            break;
        }
        ::close(fd);
    }
    // The holder's process id, for a person looking at the folder; the lock does not read it.
    const QByteArray id = QByteArray::number(qint64(::getpid())) + '\n';
    if (::ftruncate(m_handle->fd, 0) == 0) {
        const ssize_t written = ::write(m_handle->fd, id.constData(), size_t(id.size()));
        (void)written;
    }
    return Result::Taken;
}

bool Lock::isLocked() const {
    return m_handle != nullptr;
}

void Lock::release() {
    if (!m_handle)
        return;
    ::unlink(QFile::encodeName(m_path).constData());
    ::close(m_handle->fd);
    m_handle.reset();
}

#endif

Lock::Lock(QString path) : m_path(std::move(path)) {}

Lock::~Lock() {
    release();
}

} // namespace instancelock
