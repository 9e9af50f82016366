#include "TestFiles.h"
#include "VaultFixture.h"

#include "maintenance/Backup.h"
#include "records/RecordStore.h"
#include "storage/clsSimpleXOR.h"
#include "vault/DataFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <map>

namespace {

using testfiles::readAll;
using testfiles::unscrambled;

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

// Automatic backups on successive days, each one's data different: the chosen name holds the
// newest, dated names the older ones.
struct GenerationsFixture : BackupFixture {
    const QDate first{2026, 12, 1};
    std::vector<QByteArray> made; // each backup's bytes, in order

    QString dated(int day, const char *more = "") const {
        return folder.filePath(QStringLiteral("SystemDataBackup-%1%2.dat")
                                   .arg(first.addDays(day).toString(QStringLiteral("yyyy-MM-dd")),
                                        QLatin1String(more)));
    }
    // The backup of day `day`, as FrmMain makes it: the previous one is dated the day before.
    void backUp(int day) {
        Session alice = login(QStringLiteral("alice"), QStringLiteral("secret1"));
        vault->records(alice).add({QStringLiteral("其它"),
                                   QStringLiteral("day %1").arg(day),
                                   QStringLiteral("id"),
                                   QStringLiteral("pw"),
                                   {},
                                   {},
                                   {}});
        const QDate previous = day == 0 ? QDate() : first.addDays(day - 1);
        ASSERT_TRUE(AutomaticBackup(*vault, target, false, previous));
        made.push_back(readAll(target));
    }
    // Every backup file in the folder with its bytes.
    std::map<QString, QByteArray> backups() const {
        std::map<QString, QByteArray> result;
        const QDir dir(folder.path());
        for (const QString &name :
             dir.entryList({QStringLiteral("SystemDataBackup*")}, QDir::Files))
            result[dir.filePath(name)] = readAll(dir.filePath(name));
        return result;
    }
};

TEST(BackupGenerations, SixOnSuccessiveDaysLeaveFiveNewestUnderTheChosenName) {
    GenerationsFixture f;
    for (int day = 0; day < 6; ++day)
        f.backUp(day);
    // Day 0's backup, the oldest, is gone; each other one is kept under the day it was made.
    const std::map<QString, QByteArray> expected{{f.target, f.made[5]},
                                                 {f.dated(1), f.made[1]},
                                                 {f.dated(2), f.made[2]},
                                                 {f.dated(3), f.made[3]},
                                                 {f.dated(4), f.made[4]}};
    EXPECT_EQ(f.backups(), expected);
    for (const auto &[path, bytes] : expected)
        EXPECT_EQ(QFile(path).permissions() & 0x0077, QFileDevice::Permissions())
            << path.toStdString();
    EXPECT_EQ(unscrambled(f.made[5]), readAll(f.path));
}

TEST(BackupGenerations, TheOldestGoesOnlyOnceTheNewOneIsComplete) {
    GenerationsFixture f;
    for (int day = 0; day < 5; ++day)
        f.backUp(day);
    const std::map<QString, QByteArray> before = f.backups();
    ASSERT_EQ(before.size(), 5u);
    bool wrote = false;
    EXPECT_TRUE(keepBackupGenerations(f.target, f.first.addDays(4), [&](QString *why) {
        // While the new one is written, every earlier backup is still there, the one it
        // replaces already under its date.
        for (const auto &[path, bytes] : before)
            EXPECT_TRUE(QFile::exists(path)) << path.toStdString();
        EXPECT_EQ(readAll(f.dated(4)), f.made[4]);
        wrote = BackupDatabase(*f.vault, f.target, true, why);
        return wrote;
    }));
    EXPECT_TRUE(wrote);
    EXPECT_FALSE(QFile::exists(f.dated(0)));
    EXPECT_EQ(f.backups().size(), 5u);
}

TEST(BackupGenerations, AFailingNewBackupRemovesNothing) {
    GenerationsFixture f;
    for (int day = 0; day < 5; ++day)
        f.backUp(day);
    const std::map<QString, QByteArray> before = f.backups();
    QString why;
    EXPECT_FALSE(keepBackupGenerations(
        f.target, f.first.addDays(4),
        [](QString *error) {
            *error = QStringLiteral("disk full");
            return false;
        },
        &why));
    EXPECT_EQ(why, QStringLiteral("disk full"));
    EXPECT_EQ(f.backups(), before);
    // Nor when the one it replaces cannot be kept: then nothing is written at all.
    QDir().mkpath(f.dated(4));
    EXPECT_FALSE(AutomaticBackup(*f.vault, f.target, false, f.first.addDays(4)));
    EXPECT_EQ(f.backups(), before);
}

TEST(BackupGenerations, TwoOnOneDayOverwriteNoGeneration) {
    GenerationsFixture f;
    f.backUp(0);
    f.backUp(1);
    // A second backup dated like the first (a manual change of the date, a clock set back).
    ASSERT_TRUE(AutomaticBackup(*f.vault, f.target, false, f.first));
    EXPECT_EQ(readAll(f.dated(0)), f.made[0]);
    EXPECT_EQ(readAll(f.dated(0, "-2")), f.made[1]);
    EXPECT_EQ(f.backups().size(), 3u);
}

TEST(BackupGenerations, TheFirstKeepsAFileFoundAtTheChosenNameUnderItsOwnDate) {
    GenerationsFixture f;
    ASSERT_TRUE(BackupDatabase(*f.vault, f.target, false));
    const QByteArray manual = readAll(f.target);
    QFile file(f.target);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime(QDate(2025, 3, 4), QTime(12, 0)),
                                 QFileDevice::FileModificationTime));
    file.close();
    ASSERT_TRUE(AutomaticBackup(*f.vault, f.target, false, QDate()));
    EXPECT_EQ(readAll(f.folder.filePath(QStringLiteral("SystemDataBackup-2025-03-04.dat"))),
              manual);
}

TEST(BackupBeforeRestore, IsTheLiveFileDatedAndNamedAsSuch) {
    BackupFixture f;
    const QDate today(2026, 12, 11);
    const QString first = BackupBeforeRestore(*f.vault, today);
    EXPECT_EQ(first, f.folder.filePath(QStringLiteral("SystemDataBackup-2026-12-11-恢复前.dat")));
    EXPECT_EQ(unscrambled(readAll(first)), readAll(f.path));
    EXPECT_EQ(QFile(first).permissions() & 0x0077, QFileDevice::Permissions());
    // A second restore on the same day keeps the first one's copy.
    const QString second = BackupBeforeRestore(*f.vault, today);
    EXPECT_EQ(second,
              f.folder.filePath(QStringLiteral("SystemDataBackup-2026-12-11-恢复前-2.dat")));
    EXPECT_TRUE(QFile::exists(first));
}

} // namespace
