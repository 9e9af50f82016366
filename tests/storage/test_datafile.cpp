#include "TestFiles.h"
#include "vault/DataFile.h"

#include "storage/clsSimpleXOR.h"
#include "users/UserStore.h"
#include "vault/Vault.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using testfiles::readAll;
using testfiles::scrambled;
using testfiles::writeAll;

// A data file at rest, as the program leaves it, with one registered user.
struct DataFolder {
    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("SystemData.dat"));
    QByteArray emptyTemplate;

    DataFolder() {
        const QString scratch = folder.filePath(QStringLiteral("scratch.dat"));
        Vault::create(scratch);
        emptyTemplate = scrambled(readAll(scratch));
        QFile::remove(scratch);
    }
    QStringList entries() const {
        return QDir(folder.path()).entryList(QDir::Files | QDir::NoDotAndDotDot);
    }
};

TEST(DataFile, FirstStartWritesTheTemplateAndOpensIt) {
    DataFolder d;
    {
        auto vault = datafile::open(d.path, d.emptyTemplate);
        EXPECT_TRUE(vault->users().names().isEmpty());
        vault->setKdfParams(crypto::KdfParams::minimal());
        vault->users().registerUser(QStringLiteral("alice"), QStringLiteral("secret1"),
                                    QDate(2026, 1, 1), d.folder.path());
    }
    datafile::scramble(d.path);
    EXPECT_EQ(d.entries(), QStringList{QStringLiteral("SystemData.dat")});
    // At rest the file is the scrambled database: it does not open as it is.
    EXPECT_THROW(Vault::open(d.path), VaultError);
    auto vault = datafile::open(d.path, d.emptyTemplate);
    EXPECT_EQ(vault->users().names(), QStringList{QStringLiteral("alice")});
}

TEST(DataFile, AFileLeftUnscrambledByACrashOpensAsItIs) {
    DataFolder d;
    datafile::open(d.path, d.emptyTemplate).reset(); // as if the program died while running
    const QByteArray before = readAll(d.path);
    auto vault = datafile::open(d.path, d.emptyTemplate);
    vault.reset();
    EXPECT_EQ(readAll(d.path), before) << "an unscrambled file must not be scrambled again";
    datafile::scramble(d.path);
    EXPECT_NO_THROW(datafile::open(d.path, d.emptyTemplate));
}

// Every bad data file gives an error and stays byte for byte as it was, with nothing left
// beside it.
class BadDataFile : public ::testing::TestWithParam<const char *> {};

TEST_P(BadDataFile, IsReportedAndLeftUntouched) {
    DataFolder d;
    QByteArray good;
    {
        datafile::open(d.path, d.emptyTemplate).reset();
        datafile::scramble(d.path);
        good = readAll(d.path);
    }
    const std::string kind = GetParam();
    QByteArray bad;
    if (kind == "empty") {
    } else if (kind == "one byte") {
        bad = good.left(1);
    } else if (kind == "half") {
        bad = good.left(good.size() / 2);
    } else if (kind == "one page short") {
        bad = good.left(good.size() - 1024);
    } else if (kind == "one byte short") {
        bad = good.left(good.size() - 1);
    } else if (kind == "random") {
        bad.resize(good.size());
        QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(bad.data()), bad.size() / 4);
    } else if (kind == "scrambled twice") {
        bad = scrambled(good.mid(0, 100)) + good.mid(100);
    } else if (kind == "foreign key") {
        // An encrypted database under another key, scrambled like ours.
        const QString other = d.folder.filePath(QStringLiteral("other.db"));
        sql::Connection db = sql::Connection::open(other, sql::Connection::Mode::Create, "k2");
        db.exec("CREATE TABLE sysuser (x); CREATE TABLE AccountType (x);"
                " CREATE TABLE AccountData (x)");
        db.close();
        bad = scrambled(readAll(other));
        QFile::remove(other);
    }
    writeAll(d.path, bad);
    EXPECT_THROW(datafile::open(d.path, d.emptyTemplate), datafile::Error);
    EXPECT_EQ(readAll(d.path), bad);
    EXPECT_EQ(d.entries(), QStringList{QStringLiteral("SystemData.dat")});
}

INSTANTIATE_TEST_SUITE_P(Kinds, BadDataFile,
                         ::testing::Values("empty", "one byte", "half", "one page short",
                                           "one byte short", "random", "scrambled twice",
                                           "foreign key"));

TEST(DataFile, TemporaryCopiesOfADeadRunAreRemoved) {
    DataFolder d;
    const QString leftover = d.path + QStringLiteral(".a1B2c3.tmp");
    writeAll(leftover, "half written");
    writeAll(d.folder.filePath(QStringLiteral("notes.tmp")), "not ours");
    datafile::open(d.path, d.emptyTemplate).reset();
    EXPECT_FALSE(QFile::exists(leftover));
    EXPECT_TRUE(QFile::exists(d.folder.filePath(QStringLiteral("notes.tmp"))));
}

TEST(DataFile, AFolderInPlaceOfTheFileIsReported) {
    DataFolder d;
    ASSERT_TRUE(QDir().mkpath(d.path));
    EXPECT_THROW(datafile::open(d.path, d.emptyTemplate), datafile::Error);
    EXPECT_TRUE(QFileInfo(d.path).isDir());
}

} // namespace
