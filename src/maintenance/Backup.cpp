#include "maintenance/Backup.h"

#include "storage/AtomicFile.h"
#include "storage/DataFile.h"
#include "storage/Vault.h"
#include "storage/clsSimpleXOR.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <sqlite3.h>

namespace {

[[noreturn]] void fail(const QString &why) {
    throw std::runtime_error(why.toStdString());
}

bool sameFile(const QString &a, const QString &b) {
    const QFileInfo first(a), second(b);
    if (first.exists() && second.exists())
        return first.canonicalFilePath() == second.canonicalFilePath();
    return first.absoluteFilePath() == second.absoluteFilePath();
}

// The live file's bytes, read through the database's own open file: opening and closing the
// file a second time in this process would drop the locks the database holds on it.
QByteArray liveBytes(Vault &vault) {
    sqlite3_file *file = nullptr;
    if (sqlite3_file_control(vault.connection().handle(), "main", SQLITE_FCNTL_FILE_POINTER,
                             &file) != SQLITE_OK ||
        !file || !file->pMethods)
        fail(QStringLiteral("the data file is not open"));
    sqlite3_int64 size = 0;
    if (file->pMethods->xFileSize(file, &size) != SQLITE_OK)
        fail(QStringLiteral("the size of the data file cannot be read"));
    QByteArray bytes(qsizetype(size), Qt::Uninitialized);
    constexpr sqlite3_int64 kChunk = 1 << 16;
    for (sqlite3_int64 offset = 0; offset < size; offset += kChunk) {
        const int length = int(std::min(kChunk, size - offset));
        if (file->pMethods->xRead(file, bytes.data() + offset, length, offset) != SQLITE_OK)
            fail(QStringLiteral("the data file cannot be read"));
    }
    return bytes;
}

// A compacted copy: the whole database exported into a new file under the same key.
QByteArray compactedBytes(Vault &vault, const QString &target) {
    QTemporaryFile scratch(target + QStringLiteral(".XXXXXX.tmp"));
    if (!scratch.open())
        fail(QStringLiteral("cannot create a file beside %1").arg(target));
    scratch.close();
    vault.exportTo(scratch.fileName());
    QFile file(scratch.fileName());
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("cannot read the compacted copy"));
    return file.readAll();
}

} // namespace

bool BackupDatabase(Vault &vault, const QString &target, bool compact, QString *error) {
    try {
        if (target.isEmpty())
            fail(QStringLiteral("no backup file given"));
        if (sameFile(target, vault.path()))
            fail(QStringLiteral("the backup cannot replace the data file itself"));
        atomicfile::removeLeftovers(target);
        QByteArray bytes = compact ? compactedBytes(vault, target) : liveBytes(vault);
        clsSimpleXOR scrambler;
        scrambler.EncryptByte(bytes, QString::fromLatin1(datafile::kScrambleKey));
        atomicfile::write(target, bytes);
        return true;
    } catch (const std::exception &failure) {
        if (error)
            *error = QString::fromUtf8(failure.what());
        return false;
    }
}
