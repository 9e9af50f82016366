// Writes the data-file template: an empty database with the full schema, scrambled exactly as
// a data file at rest.
#include "storage/AtomicFile.h"
#include "storage/clsSimpleXOR.h"
#include "vault/DataFile.h"
#include "vault/Vault.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char *argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT\n", argv[0]);
        return 2;
    }
    try {
        QTemporaryDir folder;
        const QString database = folder.filePath(QStringLiteral("template.dat"));
        Vault::create(database);
        QFile file(database);
        if (!file.open(QIODevice::ReadOnly))
            throw std::runtime_error("cannot read the new database");
        QByteArray bytes = file.readAll();
        clsSimpleXOR scrambler;
        scrambler.EncryptByte(bytes, QString::fromLatin1(datafile::kScrambleKey));
        atomicfile::write(QString::fromLocal8Bit(argv[1]), bytes);
    } catch (const std::exception &error) {
        std::fprintf(stderr, "%s: %s\n", argv[0], error.what());
        return 1;
    }
    return 0;
}
