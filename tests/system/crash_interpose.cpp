// The crash worker's own definitions of the C library calls that change files. The executable
// exports them, so SQLite, Qt and the C++ library reach these first; each forwards to the next
// definition (the C library, or a sanitizer's interceptor in front of it). Once armed, every
// call that changes something inside the data folder is one step; at the chosen step the worker
// says so on its standard output and stops before the call is made, waiting for its SIGKILL.
//
// Only the C library is used here: no Qt header may move the large-file names around.
#undef _FILE_OFFSET_BITS
#include "crash_interpose.h"

#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/uio.h>
#include <unistd.h>

namespace {

bool g_armed = false;
bool g_trace = false;
long g_steps = 0;
long g_stopAt = 0;
std::string g_folder; // with a trailing slash

template <typename F> F next(F &slot, const char *name) {
    if (!slot) {
        slot = reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
        if (!slot) {
            static const char message[] = "crash_worker: a C library call is missing\n";
            syscall(SYS_write, 2, message, sizeof message - 1);
            _exit(3);
        }
    }
    return slot;
}
#define NEXT(name)                                                                                 \
    ([] {                                                                                          \
        static decltype(&::name) slot = nullptr;                                                   \
        return next(slot, #name);                                                                  \
    }())

void rawWrite(int fd, const std::string &text) {
    size_t done = 0;
    while (done < text.size()) {
        const long n = syscall(SYS_write, fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        done += size_t(n);
    }
}

std::string pathOfFd(int fd) {
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    char target[PATH_MAX];
    const ssize_t n = readlink(link, target, sizeof target - 1);
    return n > 0 ? std::string(target, size_t(n)) : std::string();
}

std::string absolute(int dirfd, const char *path) {
    if (!path)
        return {};
    if (path[0] == '/')
        return path;
    std::string base;
    if (dirfd == AT_FDCWD) {
        char cwd[PATH_MAX];
        if (getcwd(cwd, sizeof cwd))
            base = cwd;
    } else {
        base = pathOfFd(dirfd);
    }
    return base + '/' + path;
}

bool inFolder(const std::string &path) {
    return !g_folder.empty() &&
           (path.compare(0, g_folder.size(), g_folder) == 0 || path + '/' == g_folder);
}

void step(const char *call, const std::string &what) {
    ++g_steps;
    if (g_trace)
        rawWrite(2, "trace " + std::to_string(g_steps) + ' ' + call + ' ' + what + '\n');
    if (g_steps != g_stopAt)
        return;
    rawWrite(1, "step " + std::to_string(g_steps) + ' ' + call + ' ' + what + '\n');
    for (;;)
        pause();
}

// Removing what is not there changes nothing (SQLite clears away journals that seldom exist).
bool exists(int dirfd, const char *path) {
    struct stat info;
    return path && fstatat(dirfd, path, &info, AT_SYMLINK_NOFOLLOW) == 0;
}

// A step on a named file; `other` is a rename's or link's second name.
void onPath(const char *call, int dirfd, const char *path, int otherDirfd = AT_FDCWD,
            const char *other = nullptr) {
    if (!g_armed)
        return;
    const std::string first = absolute(dirfd, path);
    const std::string second = absolute(otherDirfd, other);
    if (inFolder(first) || inFolder(second))
        step(call, other ? first + " -> " + second : first);
}

// A step through a descriptor: writes and truncations count on regular files only (the pipe
// the driver reads is none), syncs also on folders.
void onFd(const char *call, int fd, bool folderToo) {
    if (!g_armed)
        return;
    struct stat info;
    if (fstat(fd, &info) != 0 || !(S_ISREG(info.st_mode) || (folderToo && S_ISDIR(info.st_mode))))
        return;
    const std::string path = pathOfFd(fd);
    if (inFolder(path))
        step(call, path);
}

// Opening changes the folder when it makes a file, or empties one that has content.
void onOpen(const char *call, int dirfd, const char *path, int flags) {
    if (!g_armed)
        return;
    if ((flags & O_TMPFILE) == O_TMPFILE) {
        onPath(call, dirfd, path);
        return;
    }
    struct stat info;
    const bool present = fstatat(dirfd, path, &info, 0) == 0;
    if (((flags & O_CREAT) && !present) || ((flags & O_TRUNC) && present && info.st_size > 0))
        onPath(call, dirfd, path);
}

bool needsMode(int flags) {
    return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE;
}

} // namespace

namespace crash {

void arm(long stopAt, const char *folder, bool trace) {
    char resolved[PATH_MAX];
    g_folder = std::string(realpath(folder, resolved) ? resolved : folder) + '/';
    g_stopAt = stopAt;
    g_trace = trace;
    g_steps = 0;
    g_armed = true;
}

long disarm() {
    g_armed = false;
    return g_steps;
}

void report(const char *line) {
    rawWrite(1, line);
}

} // namespace crash

extern "C" {

ssize_t write(int fd, const void *buffer, size_t size) {
    if (size > 0)
        onFd("write", fd, false);
    return NEXT(write)(fd, buffer, size);
}

ssize_t pwrite(int fd, const void *buffer, size_t size, off_t offset) {
    if (size > 0)
        onFd("pwrite", fd, false);
    return NEXT(pwrite)(fd, buffer, size, offset);
}

ssize_t pwrite64(int fd, const void *buffer, size_t size, off64_t offset) {
    if (size > 0)
        onFd("pwrite64", fd, false);
    return NEXT(pwrite64)(fd, buffer, size, offset);
}

ssize_t writev(int fd, const struct iovec *vector, int count) {
    onFd("writev", fd, false);
    return NEXT(writev)(fd, vector, count);
}

ssize_t pwritev(int fd, const struct iovec *vector, int count, off_t offset) {
    onFd("pwritev", fd, false);
    return NEXT(pwritev)(fd, vector, count, offset);
}

int fsync(int fd) {
    onFd("fsync", fd, true);
    return NEXT(fsync)(fd);
}

int fdatasync(int fd) {
    onFd("fdatasync", fd, true);
    return NEXT(fdatasync)(fd);
}

int ftruncate(int fd, off_t length) noexcept {
    onFd("ftruncate", fd, false);
    return NEXT(ftruncate)(fd, length);
}

int ftruncate64(int fd, off64_t length) noexcept {
    onFd("ftruncate64", fd, false);
    return NEXT(ftruncate64)(fd, length);
}

int fallocate(int fd, int mode, off_t offset, off_t length) {
    onFd("fallocate", fd, false);
    return NEXT(fallocate)(fd, mode, offset, length);
}

int posix_fallocate(int fd, off_t offset, off_t length) {
    onFd("posix_fallocate", fd, false);
    return NEXT(posix_fallocate)(fd, offset, length);
}

int rename(const char *from, const char *to) noexcept {
    onPath("rename", AT_FDCWD, from, AT_FDCWD, to);
    return NEXT(rename)(from, to);
}

int renameat(int fromDir, const char *from, int toDir, const char *to) noexcept {
    onPath("renameat", fromDir, from, toDir, to);
    return NEXT(renameat)(fromDir, from, toDir, to);
}

int renameat2(int fromDir, const char *from, int toDir, const char *to,
              unsigned int flags) noexcept {
    onPath("renameat2", fromDir, from, toDir, to);
    return NEXT(renameat2)(fromDir, from, toDir, to, flags);
}

int link(const char *from, const char *to) noexcept {
    onPath("link", AT_FDCWD, from, AT_FDCWD, to);
    return NEXT(link)(from, to);
}

int linkat(int fromDir, const char *from, int toDir, const char *to, int flags) noexcept {
    onPath("linkat", fromDir, from, toDir, to);
    return NEXT(linkat)(fromDir, from, toDir, to, flags);
}

int unlink(const char *path) noexcept {
    if (g_armed && exists(AT_FDCWD, path))
        onPath("unlink", AT_FDCWD, path);
    return NEXT(unlink)(path);
}

int unlinkat(int dir, const char *path, int flags) noexcept {
    if (g_armed && exists(dir, path))
        onPath("unlinkat", dir, path);
    return NEXT(unlinkat)(dir, path, flags);
}

int remove(const char *path) noexcept {
    if (g_armed && exists(AT_FDCWD, path))
        onPath("remove", AT_FDCWD, path);
    return NEXT(remove)(path);
}

int mkdir(const char *path, mode_t mode) noexcept {
    onPath("mkdir", AT_FDCWD, path);
    return NEXT(mkdir)(path, mode);
}

int mkdirat(int dir, const char *path, mode_t mode) noexcept {
    onPath("mkdirat", dir, path);
    return NEXT(mkdirat)(dir, path, mode);
}

int rmdir(const char *path) noexcept {
    if (g_armed && exists(AT_FDCWD, path))
        onPath("rmdir", AT_FDCWD, path);
    return NEXT(rmdir)(path);
}

int open(const char *path, int flags, ...) {
    mode_t mode = 0;
    if (needsMode(flags)) {
        va_list arguments;
        va_start(arguments, flags);
        mode = va_arg(arguments, mode_t);
        va_end(arguments);
    }
    onOpen("open", AT_FDCWD, path, flags);
    return NEXT(open)(path, flags, mode);
}

int open64(const char *path, int flags, ...) {
    mode_t mode = 0;
    if (needsMode(flags)) {
        va_list arguments;
        va_start(arguments, flags);
        mode = va_arg(arguments, mode_t);
        va_end(arguments);
    }
    onOpen("open64", AT_FDCWD, path, flags);
    return NEXT(open64)(path, flags, mode);
}

int openat(int dir, const char *path, int flags, ...) {
    mode_t mode = 0;
    if (needsMode(flags)) {
        va_list arguments;
        va_start(arguments, flags);
        mode = va_arg(arguments, mode_t);
        va_end(arguments);
    }
    onOpen("openat", dir, path, flags);
    return NEXT(openat)(dir, path, flags, mode);
}

int openat64(int dir, const char *path, int flags, ...) {
    mode_t mode = 0;
    if (needsMode(flags)) {
        va_list arguments;
        va_start(arguments, flags);
        mode = va_arg(arguments, mode_t);
        va_end(arguments);
    }
    onOpen("openat64", dir, path, flags);
    return NEXT(openat64)(dir, path, flags, mode);
}

int creat(const char *path, mode_t mode) {
    onOpen("creat", AT_FDCWD, path, O_CREAT | O_WRONLY | O_TRUNC);
    return NEXT(creat)(path, mode);
}

} // extern "C"
