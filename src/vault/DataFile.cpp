#include "vault/DataFile.h"

#include "storage/AtomicFile.h"
#include "storage/clsSimpleXOR.h"
#include "vault/Vault.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace datafile {

namespace {

QString key() {
    return QString::fromLatin1(kScrambleKey);
}

QByteArray readWhole(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(
            QStringLiteral("%1 cannot be read: %2").arg(path, file.errorString()).toStdString());
    return file.readAll();
}

} // namespace

std::unique_ptr<Vault> open(const QString &path, const QByteArray &scrambledTemplate) {
    atomicfile::removeLeftovers(path);
    if (!QFileInfo::exists(path)) {
        try {
            atomicfile::write(path, scrambledTemplate);
        } catch (const std::runtime_error &error) {
            throw Error(error.what());
        }
    }
    try {
        return Vault::open(path);
    } catch (const VaultError &error) {
        if (error.kind() != VaultError::Kind::NotOurs)
            throw Error(error.what());
    }

    QByteArray bytes = readWhole(path);
    if (bytes.isEmpty())
        throw Error(QStringLiteral("%1 is empty").arg(path).toStdString());
    clsSimpleXOR scrambler;
    scrambler.DecryptByte(bytes, key());
    QString temporary;
    try {
        temporary = atomicfile::writeBeside(path, bytes);
        Vault::open(temporary)->close();
    } catch (const std::runtime_error &error) {
        if (!temporary.isEmpty())
            QFile::remove(temporary);
        // Said of the file the user has: the unscrambled copy is gone by now.
        const auto *vault = dynamic_cast<const VaultError *>(&error);
        if (vault && vault->kind() == VaultError::Kind::Damaged)
            throw Error(QStringLiteral("%1 is truncated").arg(path).toStdString());
        if (vault)
            throw Error(QStringLiteral("%1 is damaged or is not an Ombrivo data file")
                            .arg(path)
                            .toStdString());
        throw Error(error.what());
    }
    try {
        atomicfile::replace(temporary, path);
    } catch (const std::runtime_error &error) {
        throw Error(error.what());
    }
    try {
        return Vault::open(path);
    } catch (const VaultError &error) {
        throw Error(error.what());
    }
}

void scramble(const QString &path) {
    clsSimpleXOR scrambler;
    scrambler.EncryptFile(path, path, key());
}

} // namespace datafile
