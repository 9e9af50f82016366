// Backs up a data file again and again until it is killed; the crash test kills it at random
// moments and then checks what it left behind.
#include "maintenance/Backup.h"
#include "vault/Vault.h"

#include <cstdio>

int main(int argc, char **argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s DATAFILE BACKUP\n", argv[0]);
        return 2;
    }
    auto vault = Vault::open(QString::fromLocal8Bit(argv[1]));
    const QString target = QString::fromLocal8Bit(argv[2]);
    std::printf("ready\n");
    std::fflush(stdout);
    for (int i = 0;; ++i) {
        if (!BackupDatabase(*vault, target, i % 2 == 0))
            return 1;
        std::printf("done\n");
        std::fflush(stdout);
    }
}
