// Restoring one user of a backup into the logged-in user, through a private copy of the backup.
#include "RestoreFixture.h"

#include "vault/DataFolder.h"

#include <cctype>
#include <gtest/gtest.h>
#include <ostream>

static void PrintTo(const QString &text, std::ostream *os) {
    *os << '"' << text.toStdString() << '"';
}
static void PrintTo(const Category &c, std::ostream *os) {
    *os << c.TypeName.toStdString() << '/' << c.icoIndex;
}

namespace {

using namespace restore;

struct Pair {
    const char *name;
    QString from; // the backup user
    QString into; // the logged-in user
};
void PrintTo(const Pair &p, std::ostream *os) {
    *os << p.name;
}

class RestoreUser : public ::testing::TestWithParam<Pair> {};

TEST_P(RestoreUser, ReplacesCategoriesAndRecordsUnderTheLoggedInName) {
    const Pair &p = GetParam();
    RestoreFixture f;
    const QStringList others = f.rowsExcept(p.into);
    const FileState before = stateOf(f.backupPath);
    Session target = f.login(p.into, passwordOf(p.into));
    {
        std::unique_ptr<BackupFile> backup = BackupFile::open(f.backupPath, f.dataFolder);
        // The work happens on a private copy; the chosen file is only read.
        EXPECT_TRUE(QFileInfo(f.workFolder).isDir());
        EXPECT_EQ(stateOf(f.backupPath), before);
        backup->restoreInto(*f.vault, target, p.from, passwordOf(p.from), false);
        EXPECT_EQ(stateOf(f.backupPath), before);
    }
    EXPECT_FALSE(QFileInfo::exists(f.workFolder));
    EXPECT_EQ(stateOf(f.backupPath), before);

    EXPECT_EQ(f.categories(p.into), f.backupCategories(p.from));
    // A fresh login reads every password, so they are sealed under the target's own key.
    EXPECT_EQ(f.records(p.into, passwordOf(p.into)), f.backupRecords(p.from));
    EXPECT_EQ(RecordStore(*f.vault, target).all().size(), f.backupRecords(p.from).size());
    EXPECT_EQ(f.rowsExcept(p.into), others);
    EXPECT_EQ(f.vault->users().settings(p.into), settingsOf(p.into));

    // Never the backup user's ciphertexts, and his key opens none of the new ones.
    const QList<QByteArray> copied = f.ciphertexts(p.into);
    for (const QByteArray &theirs : f.backupCiphertexts(p.from))
        EXPECT_FALSE(copied.contains(theirs));
    const QString sourceLive = p.from == kBob ? kBobLivePassword : passwordOf(p.from);
    Session source = f.login(p.from, sourceLive);
    for (const QByteArray &sealed : copied)
        EXPECT_THROW(source.decryptPassword(sealed), crypto::CryptoError);
}

INSTANTIATE_TEST_SUITE_P(Users, RestoreUser,
                         ::testing::Values(Pair{"bob_into_alice", kBob, kAlice},
                                           Pair{"apostrophe_in_the_backup", kOBrien, kAlice},
                                           Pair{"apostrophe_in_the_live_user", kBob, kDArcy},
                                           Pair{"apostrophes_on_both_sides", kOBrien, kDArcy}),
                         [](const ::testing::TestParamInfo<Pair> &info) {
                             return std::string(info.param.name);
                         });

TEST(Restore, ReplacedSettingsAreTheBackupUsersButNameAndPasswordStay) {
    RestoreFixture f;
    const QStringList others = f.rowsExcept(kAlice);
    Session alice = f.login(kAlice, passwordOf(kAlice));
    BackupFile::open(f.backupPath, f.dataFolder)
        ->restoreInto(*f.vault, alice, kBob, passwordOf(kBob), true);

    EXPECT_EQ(f.vault->users().settings(kAlice), settingsOf(kBob));
    EXPECT_EQ(f.vault->users().names(), QStringList({kAlice, kBob, kOBrien, kDArcy}));
    EXPECT_TRUE(f.vault->users().checkPassword(kAlice, passwordOf(kAlice)));
    EXPECT_FALSE(f.vault->users().checkPassword(kAlice, passwordOf(kBob)));
    EXPECT_EQ(f.records(kAlice, passwordOf(kAlice)), f.backupRecords(kBob));
    EXPECT_EQ(f.rowsExcept(kAlice), others);
    EXPECT_EQ(f.vault->users().settings(kBob), settingsOf(kBob));
}

TEST(Restore, UsersAreListedInTheBackupsOrder) {
    RestoreFixture f;
    f.vault->users().remove(kOBrien); // the live file no longer matters
    EXPECT_EQ(BackupFile::open(f.backupPath, f.dataFolder)->users(),
              QStringList({kAlice, kBob, kOBrien, kDArcy}));
}

// The password that counts is the one the backup user had when the backup was made.
TEST(Restore, ThePasswordIsTheBackupUsersAtBackupTime) {
    RestoreFixture f;
    std::unique_ptr<BackupFile> backup = BackupFile::open(f.backupPath, f.dataFolder);
    EXPECT_TRUE(backup->checkPassword(kBob, passwordOf(kBob)));
    EXPECT_FALSE(backup->checkPassword(kBob, kBobLivePassword));
    EXPECT_FALSE(backup->checkPassword(kBob, passwordOf(kAlice)));
    EXPECT_FALSE(backup->checkPassword(kBob, passwordOf(kBob).toUpper()));
    EXPECT_FALSE(backup->checkPassword(kBob, QString()));
    EXPECT_FALSE(backup->checkPassword(QStringLiteral("nobody"), passwordOf(kBob)));
    EXPECT_TRUE(backup->checkPassword(kOBrien, passwordOf(kOBrien)));

    const QStringList before = f.rowsExcept(QString());
    Session alice = f.login(kAlice, passwordOf(kAlice));
    for (const QString &wrong : {kBobLivePassword, passwordOf(kAlice)})
        EXPECT_THROW(backup->restoreInto(*f.vault, alice, kBob, wrong, true), BackupFile::Error);
    EXPECT_EQ(f.rowsExcept(QString()), before);
    EXPECT_EQ(f.vault->users().settings(kAlice), settingsOf(kAlice));
}

// A record of the backup that no longer opens stops the restore before anything is replaced.
TEST(Restore, IsAllOrNothing) {
    RestoreFixture f;
    const QString copy = f.unscrambledCopy(QStringLiteral("damaged.dat"));
    {
        std::unique_ptr<Vault> damaged = Vault::open(copy);
        damaged->connection().exec(
            "UPDATE AccountData SET AccountPassword = x'00112233' WHERE rowid ="
            " (SELECT max(rowid) FROM AccountData WHERE UserName = 'bob')");
    }
    const QString damagedBackup = f.folder.filePath(QStringLiteral("damaged backup.dat"));
    writeAll(damagedBackup, xorred(readAll(copy)));

    const QStringList before = f.rowsExcept(QString());
    const QList<QStringList> aliceBefore = f.records(kAlice, passwordOf(kAlice));
    Session alice = f.login(kAlice, passwordOf(kAlice));
    std::unique_ptr<BackupFile> backup = BackupFile::open(damagedBackup, f.dataFolder);
    EXPECT_ANY_THROW(backup->restoreInto(*f.vault, alice, kBob, passwordOf(kBob), true));
    EXPECT_EQ(f.rowsExcept(QString()), before);
    EXPECT_EQ(f.categories(kAlice), f.backupCategories(kAlice));
    EXPECT_EQ(f.records(kAlice, passwordOf(kAlice)), aliceBefore);
    EXPECT_EQ(f.vault->users().settings(kAlice), settingsOf(kAlice));
    // The live file stays usable for a second try with a good backup.
    backup.reset();
    BackupFile::open(f.backupPath, f.dataFolder)
        ->restoreInto(*f.vault, alice, kBob, passwordOf(kBob), false);
    EXPECT_EQ(f.records(kAlice, passwordOf(kAlice)), f.backupRecords(kBob));
}

class BadBackupFile : public ::testing::TestWithParam<BadBackup> {};

TEST_P(BadBackupFile, IsRefusedAndLeftAsItWas) {
    RestoreFixture f;
    const QString path = f.folder.filePath(QStringLiteral("chosen.dat"));
    GetParam().make(f, path);
    const FileState before = stateOf(path);
    const QStringList live = f.rowsExcept(QString());

    try {
        BackupFile::open(path, f.dataFolder);
        ADD_FAILURE() << "opened";
    } catch (const BackupFile::Error &error) {
        // One message that says what is wrong and names the file.
        const QString said = QString::fromUtf8(error.what());
        EXPECT_TRUE(said.startsWith(QString::fromUtf8(GetParam().says))) << error.what();
        EXPECT_TRUE(said.endsWith(QDir::toNativeSeparators(path))) << error.what();
    }
    EXPECT_EQ(stateOf(path), before);
    EXPECT_FALSE(QFileInfo::exists(f.workFolder));
    EXPECT_EQ(f.rowsExcept(QString()), live);
    EXPECT_THROW(Vault::open(f.path), VaultError) << "the live file lost its lock";
    EXPECT_EQ(f.records(kAlice, passwordOf(kAlice)), f.backupRecords(kAlice));
}

INSTANTIATE_TEST_SUITE_P(Files, BadBackupFile, ::testing::ValuesIn(badBackups()),
                         [](const ::testing::TestParamInfo<BadBackup> &info) {
                             std::string name = info.param.name;
                             for (char &c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

TEST(Restore, TheChosenFileOpensAgainAfterARestore) {
    RestoreFixture f;
    Session alice = f.login(kAlice, passwordOf(kAlice));
    for (int i = 0; i < 2; ++i)
        BackupFile::open(f.backupPath, f.dataFolder)
            ->restoreInto(*f.vault, alice, kOBrien, passwordOf(kOBrien), false);
    EXPECT_EQ(f.records(kAlice, passwordOf(kAlice)), f.backupRecords(kOBrien));
    EXPECT_FALSE(QFileInfo::exists(f.workFolder));
}

TEST(Restore, LeftoversOfACrashedRestoreAreRemoved) {
    RestoreFixture f;
    ASSERT_TRUE(QDir().mkpath(f.workFolder + QStringLiteral("/inner")));
    writeAll(f.workFolder + QStringLiteral("/backup.dat"), xorred(readAll(f.backupPath)));
    writeAll(f.workFolder + QStringLiteral("/inner/x"), "x");
    const FileState backup = stateOf(f.backupPath);

    DataFolder::removeLeftovers(f.dataFolder);
    EXPECT_FALSE(QFileInfo::exists(f.workFolder));
    EXPECT_EQ(stateOf(f.backupPath), backup);
    EXPECT_EQ(f.records(kAlice, passwordOf(kAlice)), f.backupRecords(kAlice));
    DataFolder::removeLeftovers(f.dataFolder); // nothing there: nothing happens
    EXPECT_TRUE(QFileInfo(f.path).isFile());

    // An open finds the folder occupied by a crashed run and starts afresh.
    ASSERT_TRUE(QDir().mkpath(f.workFolder));
    writeAll(f.workFolder + QStringLiteral("/backup.dat"), "stale");
    EXPECT_EQ(BackupFile::open(f.backupPath, f.dataFolder)->users().size(), 4);
    EXPECT_FALSE(QFileInfo::exists(f.workFolder));
}

} // namespace
