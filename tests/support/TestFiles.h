#pragma once

// Files as the tests see them: whole contents, and the data file's at-rest form.

#include "storage/clsSimpleXOR.h"
#include "vault/DataFile.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <stdexcept>

namespace testfiles {

// The whole file; nothing when it cannot be read.
inline QByteArray readAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes the whole file or throws.
inline void writeAll(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

// The data file's bytes at rest and back; the scrambling is an exclusive-or, its own inverse.
inline QByteArray scrambled(QByteArray bytes) {
    clsSimpleXOR().EncryptByte(bytes, QString::fromLatin1(datafile::kScrambleKey));
    return bytes;
}
inline QByteArray unscrambled(QByteArray bytes) {
    clsSimpleXOR().DecryptByte(bytes, QString::fromLatin1(datafile::kScrambleKey));
    return bytes;
}

} // namespace testfiles
