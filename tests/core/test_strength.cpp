#include "core/PasswordStrength.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct Case {
    const char *name;
    QString text;
    int level;
};

void PrintTo(const Case &c, std::ostream *os) {
    *os << c.name << " -> " << c.level;
}

class Strength : public testing::TestWithParam<Case> {};

TEST_P(Strength, RatesByClassesAndLength) {
    EXPECT_EQ(GetPasswordStrength(GetParam().text), GetParam().level);
}

QString u(const char *utf8) {
    return QString::fromUtf8(utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Documented, Strength,
    testing::Values(
        Case{"empty", u(""), 1}, Case{"5 letters", u("abcde"), 1},
        Case{"3 letters 2 digits", u("abc12"), 1}, Case{"5 chars, all classes", u("a1!b2"), 1},
        Case{"6 letters", u("abcdef"), 1}, Case{"3 letters 3 digits", u("abc123"), 2},
        Case{"3 letters 2 digits 1 symbol", u("abc12!"), 3}, Case{"9 letters", u("abcdefghi"), 1},
        Case{"10 letters", u("abcdefghij"), 2}, Case{"15 letters", u("abcdefghijklmno"), 2},
        Case{"16 letters", u("abcdefghijklmnop"), 3}, Case{"12 digits", u("123456789012"), 2},
        Case{"10 chars two classes", u("abcde12345"), 2}, Case{"6 Chinese", u("密码强度测试"), 0},
        Case{"15 Chinese", u("一二三四五六七八九十一二三四五"), 0},
        Case{"16 Chinese", u("一二三四五六七八九十一二三四五六"), 3},
        Case{"6 underscores", u("______"), 0}, Case{"Chinese plus letter", u("密码强度测a"), 1}));

// Class edges: space..'/' and ':'..'@' are symbols, '['..'`' and '{'..'~' are in no class.
INSTANTIATE_TEST_SUITE_P(
    ClassBoundaries, Strength,
    testing::Values(Case{"spaces", u("      "), 1}, Case{"slashes", u("//////"), 1},
                    Case{"colons", u("::::::"), 1}, Case{"at signs", u("@@@@@@"), 1},
                    Case{"brackets", u("[[[[[["), 0}, Case{"graves", u("``````"), 0},
                    Case{"braces", u("{{{{{{"), 0}, Case{"tildes", u("~~~~~~"), 0},
                    Case{"0 and 9", u("090909"), 1}, Case{"A Z a z", u("AZazAZ"), 1},
                    Case{"letters next to brackets", u("[[[ZZZ"), 1},
                    Case{"letters and space", u("abc de"), 2},
                    Case{"DEL and controls", u("\x7f\x7f\t\t\x01\x01"), 0},
                    Case{"full-width letters", u("ａｂｃｄｅｆ"), 0}));

// A character beyond the BMP is one character, not two UTF-16 units.
INSTANTIATE_TEST_SUITE_P(Surrogates, Strength,
                         testing::Values(Case{"4 chars + emoji", u("ab12😀"), 1},
                                         Case{"3 emoji", u("😀😀😀"), 1},
                                         Case{"8 letters + emoji", u("abcdefgh😀"), 1},
                                         Case{"15 emoji", u("😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀"), 0},
                                         Case{"16 emoji", u("😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀"), 3}));

} // namespace
