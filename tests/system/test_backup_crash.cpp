// A process killed in the middle of a backup leaves the data file and the earlier backup whole.
#include "VaultFixture.h"

#include "records/RecordStore.h"
#include "storage/clsSimpleXOR.h"
#include "vault/DataFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>

namespace {

bool backupOpens(const QString &backup, const QString &scratch) {
    QFile in(backup);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QByteArray bytes = in.readAll();
    clsSimpleXOR().DecryptByte(bytes, QString::fromLatin1(datafile::kScrambleKey));
    QFile::remove(scratch);
    QFile out(scratch);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    out.write(bytes);
    out.close();
    try {
        auto vault = Vault::open(scratch);
        return vault->users().names() == QStringList{QStringLiteral("alice")};
    } catch (const std::exception &) {
        return false;
    }
}

TEST(BackupCrash, KilledAtRandomMomentsLosesNothing) {
    VaultFixture f;
    f.addUser(QStringLiteral("alice"), QStringLiteral("secret1"));
    {
        Session alice = f.login(QStringLiteral("alice"), QStringLiteral("secret1"));
        sql::Transaction transaction(f.vault->connection());
        for (int i = 0; i < 3000; ++i)
            f.vault->records(alice).add({QStringLiteral("其它"),
                                         QStringLiteral("site %1").arg(i),
                                         QStringLiteral("id"),
                                         QStringLiteral("pw"),
                                         {},
                                         {},
                                         QString(200, QLatin1Char('x'))});
        transaction.commit();
    }
    f.vault.reset();
    const QString backup = f.folder.filePath(QStringLiteral("SystemDataBackup.dat"));
    const QString scratch = f.folder.filePath(QStringLiteral("scratch.dat"));
    QRandomGenerator random(2026);
    for (int round = 0; round < 8; ++round) {
        QProcess worker;
        worker.start(QStringLiteral(OMBRIVO_BACKUP_WORKER), {f.path, backup});
        ASSERT_TRUE(worker.waitForReadyRead(20000)) << "worker did not start";
        // The first round lets one backup complete, so that later rounds also kill the worker
        // while it replaces an existing backup, however slow the machine is.
        if (round == 0) {
            while (!worker.readAll().contains("done")) {
                ASSERT_TRUE(worker.waitForReadyRead(60000)) << "no backup completed";
            }
        }
        QThread::msleep(20 + random.bounded(400));
        ::kill(pid_t(worker.processId()), SIGKILL);
        ASSERT_TRUE(worker.waitForFinished(20000));
        ASSERT_EQ(worker.exitStatus(), QProcess::CrashExit) << "the worker stopped by itself";
        EXPECT_NO_THROW(Vault::open(f.path)) << "round " << round;
        if (QFile::exists(backup)) {
            EXPECT_TRUE(backupOpens(backup, scratch)) << "round " << round;
        }
    }
    EXPECT_TRUE(QFile::exists(backup)) << "the completed backup was lost";
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
