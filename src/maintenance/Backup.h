#pragma once

#include <QDate>
#include <QString>
#include <functional>

class Vault;

// Writes a backup of the live data file at `target`, scrambled exactly like a data file at rest:
// a compacted copy when `compact`, else a byte copy of the file. The live database stays open and
// usable throughout. The new backup is built beside the target and replaces it only when
// complete, so a failure or a crash leaves the previous backup as it was. A target naming the
// live data file is refused. On failure `error`, when given, says why.
bool BackupDatabase(Vault &vault, const QString &target, bool compact, QString *error = nullptr);

// Automatic backups keep generations beside the chosen file: the chosen name holds the newest,
// dated names ("SystemDataBackup-2026-12-11.dat") the older ones, so a backup of damaged data
// never replaces the only good one.
inline constexpr int kAutomaticBackupGenerations = 5;

// Replaces the backup at `target` by what `writeNew` writes there. The backup it replaces is first
// kept under its dated name (`previousDate`, or the file's own date when that is not valid; a
// second one of the same day gets "-2", "-3", ...); the oldest dated ones beyond the generations
// kept are removed only once the new backup is complete. When `writeNew` fails, the folder is left
// as it was.
bool keepBackupGenerations(const QString &target, const QDate &previousDate,
                           const std::function<bool(QString *error)> &writeNew,
                           QString *error = nullptr);
// BackupDatabase through keepBackupGenerations.
bool AutomaticBackup(Vault &vault, const QString &target, bool compact, const QDate &previousDate,
                     QString *error = nullptr);

// Before a restore replaces a user's data: a backup of the whole live file in the data folder,
// dated `today` and named as taken before a restore ("SystemDataBackup-2026-12-11-恢复前.dat").
// Returns its path, or the empty text (and `error`) when it could not be written.
QString BackupBeforeRestore(Vault &vault, const QDate &today, QString *error = nullptr);
