#pragma once

#include <QByteArray>
#include <QString>

// Files are never rewritten in place: the new content goes to a temporary file in the same
// folder, reaches the disk, and is renamed over the target, so a crash leaves either the old or
// the new file and never a mixture.
namespace atomicfile {

// Writes `bytes` to a new temporary file beside `target` and returns its path (not yet renamed).
// Throws std::runtime_error on failure; nothing is left behind then.
QString writeBeside(const QString &target, const QByteArray &bytes);
// Renames `temporary` over `target` and makes the rename durable.
void replace(const QString &temporary, const QString &target);
// Removes the temporary files that a process killed between writeBeside and replace left
// beside `target`, with any SQLite journal of theirs.
void removeLeftovers(const QString &target);
// writeBeside + replace.
void write(const QString &target, const QByteArray &bytes);

} // namespace atomicfile
