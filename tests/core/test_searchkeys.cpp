#include "core/DateText.h"
#include "core/SearchKeys.h"

#include <gtest/gtest.h>

#include <ostream>

static void PrintTo(const QString &text, std::ostream *os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

struct KeysCase {
    const char *name; // UTF-8
    const char *pinyin;
    const char *initials;
};

void PrintTo(const KeysCase &c, std::ostream *os) {
    *os << '"' << c.name << '"';
}

class SearchKeysFor : public testing::TestWithParam<KeysCase> {};

TEST_P(SearchKeysFor, GivesPinyinAndInitials) {
    const KeysCase &c = GetParam();
    const SearchKeys keys = searchKeysFor(QString::fromUtf8(c.name));
    EXPECT_EQ(keys.pinyin, QString::fromUtf8(c.pinyin));
    EXPECT_EQ(keys.initials, QString::fromUtf8(c.initials));
}

INSTANTIATE_TEST_SUITE_P(
    Names, SearchKeysFor,
    testing::Values(KeysCase{"招商", "zhaoshang", "zs"},
                    // Second-level GB2312 characters, which AccountPY turns into "Z".
                    KeysCase{"哔哩哔哩", "bilibili", "blbl"},
                    // Latin letters stand for themselves, in lower case; spaces and digits too.
                    KeysCase{"QQ邮箱", "qqyouxiang", "qqyx"},
                    KeysCase{"Gmail 163", "gmail 163", "gmail 163"}, KeysCase{"", "", ""},
                    // Characters outside the Basic Multilingual Plane are kept whole, never split.
                    KeysCase{"a😀b", "a😀b", "a😀b"}, KeysCase{"𠮷野家", "𠮷yejia", "𠮷yj"}));

// ICU reads each character alone (行 as "xing"); words whose reading differs in context come
// from the word list first.
TEST(SearchKeysFor, WordsReadInContext) {
    const SearchKeys bank = searchKeysFor(QStringLiteral("招商银行"));
    EXPECT_EQ(bank.pinyin, QStringLiteral("zhaoshangyinhang"));
    EXPECT_EQ(bank.initials, QStringLiteral("zsyh"));
    EXPECT_EQ(searchKeysFor(QStringLiteral("重庆银行北京分行")).initials,
              QStringLiteral("cqyhbjfh"));
    // Outside such a word the character keeps ICU's reading.
    EXPECT_EQ(searchKeysFor(QStringLiteral("携程旅行")).pinyin, QStringLiteral("xiechenglvxing"));
}

TEST(GetAccountPY, OneInitialPerCharacter) {
    EXPECT_EQ(GetAccountPY(QStringLiteral("QQ邮箱")), QStringLiteral("QQYX"));
    EXPECT_EQ(GetAccountPY(QStringLiteral("哔哩哔哩")), QStringLiteral("ZLZL"));
    EXPECT_EQ(GetAccountPY(QString()), QString());
}

struct DateCase {
    const char *text;   // UTF-8
    const char *stored; // nullptr: refused
};

void PrintTo(const DateCase &c, std::ostream *os) {
    *os << '"' << c.text << '"';
}

class ParseUserDate : public testing::TestWithParam<DateCase> {};

TEST_P(ParseUserDate, AcceptsRealDaysOnly) {
    const DateCase &c = GetParam();
    const std::optional<QDate> date = parseUserDate(QString::fromUtf8(c.text));
    if (!c.stored) {
        EXPECT_FALSE(date.has_value()) << date->toString(Qt::ISODate).toStdString();
        return;
    }
    ASSERT_TRUE(date.has_value());
    EXPECT_EQ(storedDate(*date), QString::fromLatin1(c.stored));
}

INSTANTIATE_TEST_SUITE_P(
    Spellings, ParseUserDate,
    testing::Values(DateCase{"2011-3-5", "2011-03-05"}, DateCase{"2011/03/05", "2011-03-05"},
                    DateCase{"2011.3.5", "2011-03-05"}, DateCase{"20110305", "2011-03-05"},
                    DateCase{"2011年3月5日", "2011-03-05"}, DateCase{"2024-02-29", "2024-02-29"},
                    DateCase{"2011-12-31", "2011-12-31"}, DateCase{"2011-13-40", nullptr},
                    DateCase{"2011-2-30", nullptr}, DateCase{"2023-02-29", nullptr},
                    DateCase{"2011-0-5", nullptr}, DateCase{"abc", nullptr}, DateCase{"", nullptr},
                    DateCase{"2011-3", nullptr}, DateCase{"2011035", nullptr}));

} // namespace
