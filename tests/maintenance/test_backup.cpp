#include "VaultFixture.h"

#include "maintenance/Backup.h"
#include "records/RecordStore.h"
#include "storage/DataFile.h"
#include "storage/clsSimpleXOR.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray unscrambled(QByteArray bytes) {
    clsSimpleXOR().DecryptByte(bytes, QString::fromLatin1(datafile::kScrambleKey));
    return bytes;
}

// A vault with two users and a few records each.
struct BackupFixture : VaultFixture {
    BackupFixture() {
        addUser(QStringLiteral("alice"), QStringLiteral("secret1"));
        addUser(QStringLiteral("o'brien"), QStringLiteral("secret2"));
        Session alice = login(QStringLiteral("alice"), QStringLiteral("secret1"));
        for (int i = 0; i < 30; ++i)
            vault->records(alice).add({QStringLiteral("其它"),
                                       QStringLiteral("site %1").arg(i),
                                       QStringLiteral("id"),
                                       QStringLiteral("pw%1").arg(i),
                                       {},
                                       {},
                                       {}});
        // Leave free pages behind, so that compaction has something to do.
        vault->connection().exec("DELETE FROM AccountData WHERE AccountName LIKE 'site 1%'");
    }
    QString target = folder.filePath(QStringLiteral("SystemDataBackup.dat"));

    // Rows of a backup, read through a private unscrambled copy.
    QStringList rowsOf(const QString &backup) {
        const QString copy = folder.filePath(QStringLiteral("restored.dat"));
        QFile::remove(copy);
        QFile out(copy);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(unscrambled(readAll(backup)));
        out.close();
        auto restored = Vault::open(copy);
        QStringList rows = restored->users().names();
        sql::Statement names = restored->connection().prepare(
            "SELECT AccountName FROM AccountData ORDER BY AccountName");
        while (names.step())
            rows << names.text(0);
        return rows;
    }
    QStringList liveRows() {
        QStringList rows = vault->users().names();
        sql::Statement names =
            vault->connection().prepare("SELECT AccountName FROM AccountData ORDER BY AccountName");
        while (names.step())
            rows << names.text(0);
        return rows;
    }
};

TEST(Backup, ByteCopyIsTheLiveFileScrambled) {
    BackupFixture f;
    ASSERT_TRUE(BackupDatabase(*f.vault, f.target, false));
    const QByteArray backup = readAll(f.target);
    f.vault.reset(); // closing writes nothing
    EXPECT_EQ(unscrambled(backup), readAll(f.path));
}

TEST(Backup, CompactedCopyHoldsTheSameRowsAndIsSmaller) {
    BackupFixture f;
    const QStringList rows = f.liveRows();
    ASSERT_TRUE(BackupDatabase(*f.vault, f.target, true));
    EXPECT_EQ(f.rowsOf(f.target), rows);
    EXPECT_LT(QFileInfo(f.target).size(), QFileInfo(f.path).size());
}

TEST(Backup, IsScrambledAtRest) {
    BackupFixture f;
    for (bool compact : {false, true}) {
        ASSERT_TRUE(BackupDatabase(*f.vault, f.target, compact));
        EXPECT_THROW(Vault::open(f.target), VaultError) << compact;
    }
}

TEST(Backup, TheLiveVaultStaysOpenLockedAndUsable) {
    BackupFixture f;
    for (bool compact : {false, true}) {
        ASSERT_TRUE(BackupDatabase(*f.vault, f.target, compact));
        EXPECT_THROW(Vault::open(f.path), VaultError) << "the exclusive lock was lost";
        Session alice = f.login(QStringLiteral("alice"), QStringLiteral("secret1"));
        f.vault->records(alice).add({QStringLiteral("其它"),
                                     QStringLiteral("after"),
                                     QStringLiteral("id"),
                                     QStringLiteral("pw"),
                                     {},
                                     {},
                                     {}});
    }
    EXPECT_TRUE(f.liveRows().contains(QStringLiteral("after")));
}

TEST(Backup, ReplacesAnEarlierBackup) {
    BackupFixture f;
    ASSERT_TRUE(BackupDatabase(*f.vault, f.target, true));
    Session alice = f.login(QStringLiteral("alice"), QStringLiteral("secret1"));
    f.vault->records(alice).add({QStringLiteral("其它"),
                                 QStringLiteral("newer"),
                                 QStringLiteral("id"),
                                 QStringLiteral("pw"),
                                 {},
                                 {},
                                 {}});
    ASSERT_TRUE(BackupDatabase(*f.vault, f.target, true));
    EXPECT_TRUE(f.rowsOf(f.target).contains(QStringLiteral("newer")));
    EXPECT_EQ(QDir(f.folder.path()).entryList({QStringLiteral("*.tmp")}, QDir::Files).size(), 0);
}

TEST(Backup, RefusesTheLiveFileAndChangesNothing) {
    BackupFixture f;
    const QStringList rows = f.liveRows();
    QString error;
    for (const QString &target :
         {f.path, QDir(f.folder.path()).filePath(QStringLiteral("./SystemData.dat"))}) {
        EXPECT_FALSE(BackupDatabase(*f.vault, target, false, &error));
        EXPECT_FALSE(BackupDatabase(*f.vault, target, true, &error));
    }
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(f.liveRows(), rows);
    f.vault.reset();
    EXPECT_NO_THROW(Vault::open(f.path)) << "the data file was damaged";
}

TEST(Backup, AFailedBackupKeepsThePreviousOne) {
    BackupFixture f;
    ASSERT_TRUE(BackupDatabase(*f.vault, f.target, false));
    const QByteArray previous = readAll(f.target);
    // A target whose temporary file cannot be made: its folder does not exist.
    EXPECT_FALSE(
        BackupDatabase(*f.vault, f.folder.filePath(QStringLiteral("no/such/x.dat")), true));
    EXPECT_FALSE(BackupDatabase(*f.vault, QString(), true));
    EXPECT_EQ(readAll(f.target), previous);
}

} // namespace
