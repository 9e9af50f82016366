#include "VaultFixture.h"

#include "records/CategoryStore.h"
#include "records/RecordStore.h"
#include "storage/Schema.h"
#include "storage/Sqlite.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

const QString kPassword = QStringLiteral("secret1");

TEST(Vault, NewUserGetsDefaultSettingsAndNineCategories) {
    VaultFixture f;
    f.addUser(QStringLiteral("alice"), kPassword);

    const UserSettings s = f.vault->users().settings(QStringLiteral("alice"));
    UserSettings expected;
    expected.PriorBackupDate = QDate(2026, 12, 10);
    expected.AutoBackupPath = f.folder.filePath(QStringLiteral("SystemDataBackup.dat"));
    EXPECT_EQ(s, expected);
    EXPECT_EQ(s.AutoBackup, 0);
    EXPECT_EQ(s.MinLockTime, 5);
    EXPECT_EQ(s.ShortcutUser, QStringLiteral("4|49"));
    EXPECT_EQ(s.Custom1, QStringLiteral("4|83"));
    EXPECT_EQ(s.Custom2, 1);
    EXPECT_EQ(s.URLWidth, 1440);

    const std::vector<Category> categories = f.vault->categories(QStringLiteral("alice")).list();
    const QStringList names = schema::defaultCategories();
    ASSERT_EQ(categories.size(), 9u);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(categories[std::size_t(i)].TypeName, names[i]);
        EXPECT_EQ(categories[std::size_t(i)].icoIndex, i + 1);
    }
    EXPECT_EQ(names.first(), QStringLiteral("FTP帐号"));
    EXPECT_EQ(names.last(), QStringLiteral("其它"));
}

TEST(Vault, SettingsSurviveAReopen) {
    VaultFixture f;
    f.addUser(QStringLiteral("alice"), kPassword);
    UserSettings s = f.vault->users().settings(QStringLiteral("alice"));
    s.AutoBackup = 3;
    s.MinLockTime = 0.5;
    s.ShowPassword = false;
    s.ShortcutPassword = QStringLiteral("3|112");
    s.PriorBackupDate = QDate(2025, 2, 28);
    s.TypeNameWidth = 100;
    f.vault->users().saveSettings(QStringLiteral("alice"), s);
    f.reopen();
    EXPECT_EQ(f.vault->users().settings(QStringLiteral("alice")), s);
}

// Names with apostrophes, quotes and SQL wildcards are stored and found as they are.
class AwkwardNames : public ::testing::TestWithParam<const char *> {};

TEST_P(AwkwardNames, RegisterFindAndLogIn) {
    VaultFixture f;
    const QString name = QString::fromUtf8(GetParam());
    f.addUser(name, kPassword);
    f.addUser(QStringLiteral("other"), kPassword);
    EXPECT_TRUE(f.vault->users().exists(name));
    EXPECT_EQ(f.vault->users().names(), QStringList({name, QStringLiteral("other")}));
    Session session = f.login(name, kPassword);
    EXPECT_EQ(session.userName(), name);
    EXPECT_EQ(f.vault->categories(name).list().size(), 9u);
    EXPECT_EQ(f.vault->categories(QStringLiteral("other")).list().size(), 9u);
}

INSTANTIATE_TEST_SUITE_P(Names, AwkwardNames,
                         ::testing::Values("o'brien", "''", "a' OR '1'='1", "100%_\\", "张三",
                                           "  padded  ", "\"quoted\""));

TEST(Vault, NamesCompareWithoutLetterCase) {
    VaultFixture f;
    f.addUser(QStringLiteral("Alice"), kPassword);
    EXPECT_TRUE(f.vault->users().exists(QStringLiteral("ALICE")));
    EXPECT_TRUE(f.vault->users().login(QStringLiteral("alice"), kPassword).has_value());
    // The database refuses a second row even if a caller skipped the duplicate test.
    EXPECT_THROW(f.addUser(QStringLiteral("aLiCe"), kPassword), sql::Error);
    EXPECT_EQ(f.vault->users().names().size(), 1);
}

TEST(Vault, RegistrationIsAllOrNothing) {
    VaultFixture f;
    // Make the third category insert fail.
    f.vault->connection().exec(
        "CREATE TRIGGER failing BEFORE INSERT ON AccountType WHEN NEW.icoIndex = 3"
        " BEGIN SELECT RAISE(ABORT, 'disk trouble'); END");
    EXPECT_THROW(f.addUser(QStringLiteral("alice"), kPassword), sql::Error);
    EXPECT_FALSE(f.vault->users().exists(QStringLiteral("alice")));
    EXPECT_TRUE(f.vault->categories(QStringLiteral("alice")).list().empty());
}

TEST(Vault, UsersSeeOnlyTheirOwnRecords) {
    VaultFixture f;
    f.addUser(QStringLiteral("alice"), kPassword);
    f.addUser(QStringLiteral("bob"), kPassword);
    Session alice = f.login(QStringLiteral("alice"), kPassword);
    Session bob = f.login(QStringLiteral("bob"), kPassword);
    f.vault->records(alice).add({QStringLiteral("其它"),
                                 QStringLiteral("mail"),
                                 QStringLiteral("a@x"),
                                 QStringLiteral("pa"),
                                 {},
                                 {},
                                 {}});
    f.vault->records(bob).add({QStringLiteral("其它"),
                               QStringLiteral("bank"),
                               QStringLiteral("b@x"),
                               QStringLiteral("pb"),
                               {},
                               {},
                               {}});
    const auto aliceRecords = f.vault->records(alice).all();
    ASSERT_EQ(aliceRecords.size(), 1u);
    EXPECT_EQ(aliceRecords[0].AccountName, QStringLiteral("mail"));
    EXPECT_EQ(f.vault->records(alice).password(aliceRecords[0]), QStringLiteral("pa"));
    const auto bobRecords = f.vault->records(bob).all();
    ASSERT_EQ(bobRecords.size(), 1u);
    EXPECT_EQ(bobRecords[0].AccountName, QStringLiteral("bank"));
}

TEST(Vault, HoldsTheFileExclusively) {
    VaultFixture f;
    try {
        Vault::open(f.path);
        FAIL() << "a second connection opened the live file";
    } catch (const VaultError &error) {
        EXPECT_EQ(error.kind(), VaultError::Kind::Locked);
    }
    f.vault.reset();
    EXPECT_NO_THROW(Vault::open(f.path));
}

TEST(Vault, NothingReadableOnDisk) {
    VaultFixture f;
    f.addUser(QStringLiteral("alice"), kPassword);
    Session alice = f.login(QStringLiteral("alice"), kPassword);
    f.vault->records(alice).add({QStringLiteral("其它"),
                                 QStringLiteral("visiblename"),
                                 QStringLiteral("someid"),
                                 QStringLiteral("PLAINTEXTPASSWORD"),
                                 {},
                                 QStringLiteral("https://example.org/"),
                                 QStringLiteral("remarkable")});
    f.vault.reset();
    QFile file(f.path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    for (const char *needle : {"PLAINTEXTPASSWORD", "visiblename", "alice", "example.org",
                               "remarkable", "sysuser", "SQLite"})
        EXPECT_FALSE(bytes.contains(needle)) << needle;
}

// The key is stretched once per salt and handed to SQLCipher raw; the files must stay the ones
// the database password opens by itself, in both directions, or older files and backups are lost.
TEST(Vault, TheDatabasePasswordAloneOpensEveryFileWritten) {
    QTemporaryDir folder;
    const QString older = folder.filePath(QStringLiteral("older.dat"));
    {
        sql::Connection db =
            sql::Connection::open(older, sql::Connection::Mode::Create, Vault::kDatabaseKey);
        schema::create(db);
    }
    auto vault = Vault::open(older);
    vault->setKdfParams(crypto::KdfParams::minimal());
    vault->users().registerUser(QStringLiteral("alice"), kPassword, QDate(2026, 12, 10),
                                folder.path());
    const QString created = folder.filePath(QStringLiteral("created.dat"));
    const QString exported = folder.filePath(QStringLiteral("exported.dat"));
    Vault::create(created);
    ASSERT_TRUE(QFile(exported).open(QIODevice::WriteOnly)); // the live connection creates none
    vault->exportTo(exported);
    vault.reset();
    for (const QString &path : {older, created, exported}) {
        SCOPED_TRACE(path.toStdString());
        sql::Connection db =
            sql::Connection::open(path, sql::Connection::Mode::ReadWrite, Vault::kDatabaseKey);
        EXPECT_TRUE(schema::isPresent(db));
        EXPECT_EQ(db.scalarText("SELECT count(*) FROM sysuser"),
                  path == created ? QStringLiteral("0") : QStringLiteral("1"));
    }
}

TEST(Vault, RefusesFilesThatAreNotOurs) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("x.dat"));
    const auto kindOf = [&](const QByteArray &bytes) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        try {
            Vault::open(path);
        } catch (const VaultError &error) {
            return error.kind();
        }
        ADD_FAILURE() << "opened";
        return VaultError::Kind::Io;
    };
    EXPECT_EQ(kindOf(QByteArray()), VaultError::Kind::NotOurs);
    EXPECT_EQ(kindOf(QByteArray(4096, 'x')), VaultError::Kind::NotOurs);
    EXPECT_EQ(kindOf(QByteArray("SQLite format 3\0", 16) + QByteArray(4080, '\0')),
              VaultError::Kind::NotOurs);
}

// A compaction whose compacted file will not open in the live file's place leaves the live file
// at its name, open, locked and writable, and leaves nothing beside it.
TEST(Vault, CompactionWhoseReopenFailsGoesOnWithTheLiveFile) {
    VaultFixture f;
    f.addUser(QStringLiteral("alice"), kPassword);
    Session alice = f.login(QStringLiteral("alice"), kPassword);
    f.vault->records(alice).add({QStringLiteral("其它"),
                                 QStringLiteral("before"),
                                 QStringLiteral("id"),
                                 QStringLiteral("pw"),
                                 {},
                                 {},
                                 {}});
    // The database's journal comes and goes with its own transactions.
    const auto listed = [&f] {
        return QDir(f.folder.path())
            .entryList(QDir::AllEntries)
            .filter(QRegularExpression(QStringLiteral("^(?!.*-journal$)")));
    };
    const QStringList files = listed();
    Vault::beforeReopenForTests = [](const QString &path) {
        throw VaultError(VaultError::Kind::Locked, path + QStringLiteral(" is in use"));
    };
    EXPECT_THROW(f.vault->compact(f.folder.filePath(QStringLiteral("$Temp.tmp"))), VaultError);
    Vault::beforeReopenForTests = nullptr;
    EXPECT_TRUE(f.vault->isOpen());
    EXPECT_EQ(listed(), files);
    EXPECT_THROW(Vault::open(f.path), VaultError) << "the live file lost its lock";
    f.vault->records(alice).add({QStringLiteral("其它"),
                                 QStringLiteral("after"),
                                 QStringLiteral("id"),
                                 QStringLiteral("pw"),
                                 {},
                                 {},
                                 {}});
    // What the session wrote is in the file at the name.
    f.reopen();
    EXPECT_EQ(f.vault->records(f.login(QStringLiteral("alice"), kPassword)).all().size(), 2u);
}

} // namespace
