#include "core/SearchKeys.h"
#include "records/RecordModel.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <ostream>
#include <stdexcept>

// Readable failure output for the Qt strings compared below.
static void PrintTo(const QString &text, std::ostream *os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

// A "sealed" password here is the plain text behind a prefix; anything else fails to open.
QByteArray seal(const QString &plain) {
    return "sealed:" + plain.toUtf8();
}

ListEntry entry(qint64 id, const QString &type, const QString &name, const QString &user = {},
                const QString &password = QStringLiteral("pw")) {
    const SearchKeys keys = searchKeysFor(name);
    ListEntry e;
    e.id = id;
    e.TypeName = type;
    e.AccountName = name;
    e.AccountID = user;
    e.URL = {};
    e.AccountPassword = seal(password);
    e.searchText = searchTextOf(name, GetAccountPY(name), keys.initials, keys.pinyin);
    return e;
}

class RecordModelTest : public testing::Test {
protected:
    int decrypted = 0;
    RecordModel model{[this](const QByteArray &sealed) {
        ++decrypted;
        if (!sealed.startsWith("sealed:"))
            throw std::runtime_error("wrong key");
        return QString::fromUtf8(sealed.mid(7));
    }};

    void SetUp() override {
        model.setRecords({
            entry(1, QStringLiteral("银行帐号"), QStringLiteral("招商银行"), QStringLiteral("a1"),
                  QStringLiteral("zs-secret")),
            entry(2, QStringLiteral("网站帐号"), QStringLiteral("哔哩哔哩")),
            entry(3, QStringLiteral("邮箱帐号"), QStringLiteral("QQ邮箱")),
            entry(4, QStringLiteral("其它"), QStringLiteral("100%好评")),
            entry(5, QStringLiteral("其它"), QStringLiteral("a_b")),
            entry(6, QStringLiteral("Web"), QStringLiteral("O'Reilly")),
            entry(7, QStringLiteral("web"), QStringLiteral("Gmail")),
            entry(8, QStringLiteral("其它"), QStringLiteral("ab")),
        });
    }

    QString cell(int row, int column) const {
        return model.data(model.index(row, column)).toString();
    }
    QStringList column(int c) const {
        QStringList texts;
        for (int row = 0; row < model.rowCount(); ++row)
            texts << cell(row, c);
        return texts;
    }
    QStringList names() const { return column(RecordModel::AccountNameColumn); }
};

struct MatchCase {
    const char *typed; // UTF-8
    QStringList names;
};

void PrintTo(const MatchCase &c, std::ostream *os) {
    *os << '"' << c.typed << '"';
}

class ShowMatching : public RecordModelTest, public testing::WithParamInterface<MatchCase> {};

TEST_P(ShowMatching, MatchesTheTypedTextLiterally) {
    model.showMatching(QString::fromUtf8(GetParam().typed));
    EXPECT_EQ(names(), GetParam().names);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ShowMatching,
    testing::Values(
        // Part of the name, in any letter case.
        MatchCase{"银行", {"招商银行"}}, MatchCase{"gMAIL", {"Gmail"}},
        // AccountPY, ICU's initials and the full pinyin.
        MatchCase{"zlzl", {"哔哩哔哩"}}, MatchCase{"blbl", {"哔哩哔哩"}},
        MatchCase{"BiliBili", {"哔哩哔哩"}}, MatchCase{"zs", {"招商银行"}},
        MatchCase{"zhaoshang", {"招商银行"}}, MatchCase{"qqyx", {"QQ邮箱"}},
        // Wildcards and quotes of SQL are plain text.
        MatchCase{"%", {"100%好评"}}, MatchCase{"_", {"a_b"}}, MatchCase{"'", {"O'Reilly"}},
        MatchCase{"a%b", {}},
        // "ab" is kept four times over; a text never matches where two of them meet.
        MatchCase{"abab", {}}, MatchCase{"ab", {"ab"}},
        MatchCase{
            "", {"招商银行", "哔哩哔哩", "QQ邮箱", "100%好评", "a_b", "O'Reilly", "Gmail", "ab"}}));

// "Web" and "web" are two categories: the list shows the records of the one exact name.
TEST_F(RecordModelTest, ShowCategoryComparesWholeExactNames) {
    model.showCategory(QStringLiteral("Web"));
    EXPECT_EQ(names(), QStringList({"O'Reilly"}));
    model.showCategory(QStringLiteral("web"));
    EXPECT_EQ(names(), QStringList({"Gmail"}));
    model.showCategory(QStringLiteral("WEB"));
    EXPECT_EQ(model.rowCount(), 0);
    model.showCategory(QStringLiteral("其它"));
    EXPECT_EQ(names(), QStringList({"100%好评", "a_b", "ab"}));
    model.showCategory(QStringLiteral("其"));
    EXPECT_EQ(model.rowCount(), 0);
    model.showAll();
    EXPECT_EQ(model.rowCount(), 8);
}

TEST_F(RecordModelTest, ShowIdsKeepsStoredOrderAndSkipsUnknownIds) {
    model.showIds({2, 5, 99});
    EXPECT_EQ(names(), QStringList({"哔哩哔哩", "a_b"}));
    model.showIds({});
    EXPECT_EQ(model.rowCount(), 0);
}

TEST_F(RecordModelTest, SortIsStableInBothDirections) {
    model.sort(RecordModel::TypeNameColumn, Qt::AscendingOrder);
    // Letter case is ignored: "Web" and "web" stay in stored order.
    EXPECT_EQ(names(), QStringList({"O'Reilly", "Gmail", "100%好评", "a_b", "ab", "哔哩哔哩",
                                    "QQ邮箱", "招商银行"}));
    model.sort(RecordModel::TypeNameColumn, Qt::DescendingOrder);
    EXPECT_EQ(names(), QStringList({"招商银行", "QQ邮箱", "哔哩哔哩", "100%好评", "a_b", "ab",
                                    "O'Reilly", "Gmail"}));
}

TEST_F(RecordModelTest, SortOrdersOnlyTheRowsShown) {
    model.showCategory(QStringLiteral("其它"));
    model.sort(RecordModel::AccountNameColumn, Qt::DescendingOrder);
    EXPECT_EQ(names(), QStringList({"ab", "a_b", "100%好评"}));
    model.sort(-1);
    model.sort(RecordModel::kColumns);
    EXPECT_EQ(names(), QStringList({"ab", "a_b", "100%好评"}));
}

TEST_F(RecordModelTest, RemoveRecordKeepsTheOrderOfTheOthers) {
    model.sort(RecordModel::AccountNameColumn, Qt::DescendingOrder);
    QStringList expected = names();
    model.removeRecord(3);
    expected.removeOne(QStringLiteral("QQ邮箱"));
    EXPECT_EQ(names(), expected);
    EXPECT_EQ(model.recordCount(), 7);

    // A record that is not shown leaves the rows alone and is gone from later views.
    model.showCategory(QStringLiteral("其它"));
    model.removeRecord(1);
    model.removeRecord(42);
    EXPECT_EQ(names(), QStringList({"100%好评", "a_b", "ab"}));
    model.showMatching(QStringLiteral("zs"));
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.recordCount(), 6);
}

TEST_F(RecordModelTest, PasswordsAreDecryptedOnlyWhenShownOrAskedFor) {
    ASSERT_TRUE(model.maskPasswords());
    EXPECT_EQ(column(RecordModel::PasswordColumn), QStringList(8, QStringLiteral("********")));
    model.sort(RecordModel::PasswordColumn);
    for (int c = 0; c < RecordModel::kColumns; ++c)
        column(c);
    EXPECT_EQ(decrypted, 0);

    // Copying takes the plain password even from a masked list.
    model.showAll();
    EXPECT_EQ(model.password(0), QStringLiteral("zs-secret"));
    EXPECT_EQ(decrypted, 1);

    model.setMaskPasswords(false);
    EXPECT_EQ(cell(0, RecordModel::PasswordColumn), QStringLiteral("zs-secret"));
    EXPECT_EQ(cell(1, RecordModel::PasswordColumn), QStringLiteral("pw"));
    EXPECT_EQ(decrypted, 3);
    // Tool tips of the password column never hold the password.
    EXPECT_FALSE(
        model.data(model.index(0, RecordModel::PasswordColumn), Qt::ToolTipRole).isValid());

    model.setMaskPasswords(true);
    EXPECT_EQ(cell(0, RecordModel::PasswordColumn), QStringLiteral("********"));
    EXPECT_EQ(decrypted, 3);
}

TEST_F(RecordModelTest, UndecryptablePasswordShowsAPlaceholder) {
    ListEntry broken = entry(9, QStringLiteral("其它"), QStringLiteral("broken"));
    broken.AccountPassword = "garbage";
    model.setRecords({entry(1, QStringLiteral("其它"), QStringLiteral("fine")), broken});
    model.setMaskPasswords(false);
    const QString shown = cell(1, RecordModel::PasswordColumn);
    EXPECT_FALSE(shown.isEmpty());
    EXPECT_NE(shown, QStringLiteral("********"));
    EXPECT_EQ(cell(0, RecordModel::PasswordColumn), QStringLiteral("pw"));
    // Sorting by the password column reads every password.
    model.sort(RecordModel::PasswordColumn, Qt::DescendingOrder);
    EXPECT_EQ(names(), QStringList({"fine", "broken"}));
}

} // namespace
