#include "VaultFixture.h"

#include "maintenance/Backup.h"
#include "maintenance/Restore.h"
#include "records/CategoryStore.h"
#include "records/RecordStore.h"
#include "users/Session.h"

#include <QStringList>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>

// A category is one exact name: "ftp帐号" beside the reserved "FTP帐号", "Abc" beside nothing.
// No operation on one of them may touch the other's row or records.
namespace {

const QString kPassword = QStringLiteral("secret1");
const QString kAlice = QStringLiteral("alice");

struct CaseVault : VaultFixture {
    CaseVault() {
        addUser(kAlice, kPassword);
        vault->categories(kAlice).add({QStringLiteral("ftp帐号"), 11});
        vault->categories(kAlice).add({QStringLiteral("Abc"), 11});
        add(QStringLiteral("FTP帐号"), QStringLiteral("reserved"));
        add(QStringLiteral("ftp帐号"), QStringLiteral("lower"));
        add(QStringLiteral("Abc"), QStringLiteral("abc's"));
    }
    void add(const QString &type, const QString &name) {
        Session session = login(kAlice, kPassword);
        vault->records(session).add(
            {type, name, QStringLiteral("id"), QStringLiteral("pw"), {}, {}, {}});
    }
    // The categories whose names are Latin letters (the other defaults do not change here).
    QStringList latinCategories() {
        QStringList names;
        for (const Category &c : vault->categories(kAlice).list())
            if (c.TypeName.contains(QStringLiteral("ftp"), Qt::CaseInsensitive) ||
                c.TypeName.contains(QStringLiteral("abc"), Qt::CaseInsensitive))
                names << c.TypeName;
        return names;
    }
    QStringList records() {
        Session session = login(kAlice, kPassword);
        QStringList result;
        for (const Record &r : vault->records(session).all())
            result << r.TypeName + QLatin1Char('/') + r.AccountName;
        return result;
    }
};

struct CaseOperation {
    const char *name;
    std::function<void(CaseVault &)> run;
    QStringList categories; // afterwards, in tree order
    QStringList records;
};

void PrintTo(const CaseOperation &op, std::ostream *os) {
    *os << op.name;
}

const QStringList kBothFtp{QStringLiteral("FTP帐号"), QStringLiteral("ftp帐号"),
                           QStringLiteral("Abc")};
const QStringList kAllRecords{QStringLiteral("FTP帐号/reserved"), QStringLiteral("ftp帐号/lower"),
                              QStringLiteral("Abc/abc's")};

class CategoryLetterCase : public ::testing::TestWithParam<CaseOperation> {};

TEST_P(CategoryLetterCase, TouchesOnlyTheNamedCategory) {
    CaseVault f;
    ASSERT_EQ(f.latinCategories(), kBothFtp);
    GetParam().run(f);
    EXPECT_EQ(f.latinCategories(), GetParam().categories);
    EXPECT_EQ(f.records(), GetParam().records);
}

INSTANTIATE_TEST_SUITE_P(
    Operations, CategoryLetterCase,
    ::testing::Values(
        CaseOperation{"create another case",
                      [](CaseVault &f) {
                          EXPECT_FALSE(f.vault->categories(kAlice).exists(QStringLiteral("ABC")));
                          f.vault->categories(kAlice).add({QStringLiteral("ABC"), 11});
                          EXPECT_TRUE(f.vault->categories(kAlice).exists(QStringLiteral("ABC")));
                          f.add(QStringLiteral("ABC"), QStringLiteral("upper"));
                      },
                      kBothFtp + QStringList{QStringLiteral("ABC")},
                      kAllRecords + QStringList{QStringLiteral("ABC/upper")}},
        CaseOperation{"rename to its own name in other case",
                      [](CaseVault &f) {
                          f.vault->categories(kAlice).add({QStringLiteral("ABC"), 11});
                          f.add(QStringLiteral("ABC"), QStringLiteral("upper"));
                          f.vault->categories(kAlice).rename(QStringLiteral("Abc"),
                                                             QStringLiteral("abc"));
                      },
                      {QStringLiteral("FTP帐号"), QStringLiteral("ftp帐号"), QStringLiteral("abc"),
                       QStringLiteral("ABC")},
                      {QStringLiteral("FTP帐号/reserved"), QStringLiteral("ftp帐号/lower"),
                       QStringLiteral("abc/abc's"), QStringLiteral("ABC/upper")}},
        CaseOperation{"rename the lower-case twin of a reserved name",
                      [](CaseVault &f) {
                          f.vault->categories(kAlice).rename(QStringLiteral("ftp帐号"),
                                                             QStringLiteral("我的ftp"));
                      },
                      {QStringLiteral("FTP帐号"), QStringLiteral("我的ftp"), QStringLiteral("Abc")},
                      {QStringLiteral("FTP帐号/reserved"), QStringLiteral("我的ftp/lower"),
                       QStringLiteral("Abc/abc's")}},
        CaseOperation{
            "delete the lower-case twin of a reserved name",
            [](CaseVault &f) { f.vault->categories(kAlice).remove(QStringLiteral("ftp帐号")); },
            {QStringLiteral("FTP帐号"), QStringLiteral("Abc")},
            {QStringLiteral("FTP帐号/reserved"), QStringLiteral("Abc/abc's")}},
        CaseOperation{
            "delete a name nobody has in this case",
            [](CaseVault &f) { f.vault->categories(kAlice).remove(QStringLiteral("ABC")); },
            kBothFtp, kAllRecords},
        CaseOperation{
            "the editor's duplicate test and the search",
            [](CaseVault &f) {
                Session session = f.login(kAlice, kPassword);
                RecordStore records = f.vault->records(session);
                EXPECT_FALSE(records.keyTaken(QStringLiteral("ftp帐号"), QStringLiteral("reserved"),
                                              QStringLiteral("id")));
                EXPECT_TRUE(records.keyTaken(QStringLiteral("ftp帐号"), QStringLiteral("lower"),
                                             QStringLiteral("id")));
                FindCriteria lower;
                lower.TypeName = QStringLiteral("ftp帐号");
                EXPECT_EQ(records.find(lower).size(), 1u);
            },
            kBothFtp, kAllRecords},
        CaseOperation{"restore from a backup holding both",
                      [](CaseVault &f) {
                          const QString backup = f.folder.filePath(QStringLiteral("b.dat"));
                          ASSERT_TRUE(BackupDatabase(*f.vault, backup, true));
                          f.vault->categories(kAlice).remove(QStringLiteral("ftp帐号"));
                          f.vault->categories(kAlice).remove(QStringLiteral("Abc"));
                          auto file = BackupFile::open(backup, f.folder.path());
                          Session session = f.login(kAlice, kPassword);
                          file->restoreInto(*f.vault, session, kAlice, kPassword, false);
                      },
                      kBothFtp, kAllRecords}));

} // namespace
