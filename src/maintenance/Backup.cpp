#include "maintenance/Backup.h"

#include "storage/AtomicFile.h"
#include "storage/clsSimpleXOR.h"
#include "vault/DataFile.h"
#include "vault/Vault.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <algorithm>
#include <sqlite3.h>
#include <vector>

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

namespace {

// "folder/stem-yyyy-MM-dd[-tag][-n].ext" for the first n (from 2) that names no file yet: a
// backup never replaces another. Anything else in the way (a folder) makes the write fail.
QString freeDatedName(const QString &target, const QDate &date, const QString &tag) {
    const QFileInfo info(target);
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    const QString base = info.absolutePath() + QLatin1Char('/') + info.completeBaseName() +
                         QLatin1Char('-') + date.toString(QStringLiteral("yyyy-MM-dd")) +
                         (tag.isEmpty() ? QString() : QLatin1Char('-') + tag);
    QString name = base + suffix;
    for (int n = 2; QFileInfo(name).isFile(); ++n)
        name = base + QLatin1Char('-') + QString::number(n) + suffix;
    return name;
}

struct Generation {
    QDate date;
    int number = 1;
    QString path;
};

// The dated generations beside `target`, newest first.
std::vector<Generation> generationsOf(const QString &target) {
    const QFileInfo info(target);
    const QString suffix = info.suffix().isEmpty()
                               ? QString()
                               : QRegularExpression::escape(QLatin1Char('.') + info.suffix());
    const QRegularExpression pattern(
        QLatin1Char('^') + QRegularExpression::escape(info.completeBaseName()) +
        QStringLiteral("-(\\d{4}-\\d{2}-\\d{2})(?:-(\\d+))?") + suffix + QLatin1Char('$'));
    std::vector<Generation> result;
    const QDir folder = info.absoluteDir();
    for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden)) {
        const QRegularExpressionMatch match = pattern.match(name);
        if (!match.hasMatch())
            continue;
        const QDate date = QDate::fromString(match.captured(1), QStringLiteral("yyyy-MM-dd"));
        if (!date.isValid())
            continue;
        const int number = match.captured(2).isEmpty() ? 1 : match.captured(2).toInt();
        result.push_back({date, number, folder.filePath(name)});
    }
    std::sort(result.begin(), result.end(), [](const Generation &a, const Generation &b) {
        return a.date != b.date ? a.date > b.date : a.number > b.number;
    });
    return result;
}

QByteArray bytesOf(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    return file.readAll();
}

} // namespace

bool keepBackupGenerations(const QString &target, const QDate &previousDate,
                           const std::function<bool(QString *error)> &writeNew, QString *error) {
    QString kept;
    QByteArray previous;
    try {
        const QFileInfo info(target);
        if (!target.isEmpty() && info.isFile()) {
            const QDate date = previousDate.isValid() ? previousDate : info.lastModified().date();
            previous = bytesOf(target);
            kept = freeDatedName(target, date, {});
            atomicfile::write(kept, previous);
        }
    } catch (const std::exception &failure) {
        if (error)
            *error = QString::fromUtf8(failure.what());
        return false;
    }
    if (!writeNew(error)) {
        // The previous backup is still at the chosen name: its dated copy is a duplicate.
        if (!kept.isEmpty() && QFileInfo(target).isFile()) {
            try {
                if (bytesOf(target) == previous)
                    QFile::remove(kept);
            } catch (const std::exception &) {
            }
        }
        return false;
    }
    // The new backup is complete: only now may the oldest generation go. The one just kept is
    // never among them, whatever its date says.
    std::vector<Generation> generations = generationsOf(target);
    std::stable_partition(generations.begin(), generations.end(),
                          [&](const Generation &g) { return g.path == kept; });
    for (std::size_t i = kAutomaticBackupGenerations - 1; i < generations.size(); ++i)
        QFile::remove(generations[i].path);
    return true;
}

bool AutomaticBackup(Vault &vault, const QString &target, bool compact, const QDate &previousDate,
                     QString *error) {
    // Nothing is kept for a target that the backup itself refuses: the live data file above all,
    // which must not be opened a second time while the database holds it.
    if (target.isEmpty() || sameFile(target, vault.path()))
        return BackupDatabase(vault, target, compact, error);
    return keepBackupGenerations(
        target, previousDate,
        [&](QString *why) { return BackupDatabase(vault, target, compact, why); }, error);
}

QString BackupBeforeRestore(Vault &vault, const QDate &today, QString *error) {
    const QString folder = QFileInfo(vault.path()).absolutePath();
    const QString target = freeDatedName(folder + QStringLiteral("/SystemDataBackup.dat"), today,
                                         QStringLiteral("恢复前"));
    return BackupDatabase(vault, target, false, error) ? target : QString();
}
