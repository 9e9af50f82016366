#include "storage/AtomicFile.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace atomicfile {

namespace {

[[noreturn]] void fail(const QString &what) {
    throw std::runtime_error(what.toStdString());
}

void syncFolder(const QString &folder) {
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(folder);
#endif
}

} // namespace

QString writeBeside(const QString &target, const QByteArray &bytes) {
    const QFileInfo info(target);
    QTemporaryFile file(info.absolutePath() + QLatin1Char('/') + info.fileName() +
                        QStringLiteral(".XXXXXX.tmp"));
    if (!file.open())
        fail(QStringLiteral("cannot create a temporary file beside %1: %2")
                 .arg(target, file.errorString()));
    if (file.write(bytes) != bytes.size() || !file.flush())
        fail(QStringLiteral("cannot write a temporary file beside %1: %2")
                 .arg(target, file.errorString()));
#ifdef Q_OS_UNIX
    if (::fsync(file.handle()) != 0)
        fail(QStringLiteral("cannot write a temporary file beside %1 to the disk").arg(target));
#endif
    file.close();
    file.setAutoRemove(false);
    return file.fileName();
}

void replace(const QString &temporary, const QString &target) {
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(temporary.toStdU16String()),
                            std::filesystem::path(target.toStdU16String()), error);
    if (error) {
        QFile::remove(temporary);
        fail(QStringLiteral("cannot replace %1: %2")
                 .arg(target, QString::fromLocal8Bit(error.message().c_str())));
    }
    syncFolder(QFileInfo(target).absolutePath());
}

void removeLeftovers(const QString &target) {
    const QFileInfo info(target);
    QDir folder = info.absoluteDir();
    // A temporary file that was an SQLite database (a compacted copy) may have its rollback
    // journal beside it.
    const QString stem = info.fileName() + QStringLiteral(".??????.tmp");
    for (const QString &name :
         folder.entryList({stem, stem + QStringLiteral("-journal")}, QDir::Files | QDir::Hidden))
        folder.remove(name);
}

void write(const QString &target, const QByteArray &bytes) {
    replace(writeBeside(target, bytes), target);
}

} // namespace atomicfile
