#pragma once

#include <QString>

class Vault;

// Writes a backup of the live data file at `target`, scrambled exactly like a data file at rest:
// a compacted copy when `compact`, else a byte copy of the file. The live database stays open and
// usable throughout. The new backup is built beside the target and replaces it only when
// complete, so a failure or a crash leaves the previous backup as it was. A target naming the
// live data file is refused. On failure `error`, when given, says why.
bool BackupDatabase(Vault &vault, const QString &target, bool compact, QString *error = nullptr);
