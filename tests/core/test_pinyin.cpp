#include "core/PinYin.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct Case {
    const char *text; // UTF-8
    const char *initial;
};

void PrintTo(const Case &c, std::ostream *os) {
    *os << '"' << c.text << "\" -> " << c.initial;
}

class PinYinInitial : public testing::TestWithParam<Case> {};

TEST_P(PinYinInitial, GivesTheDocumentedInitial) {
    const Case &c = GetParam();
    EXPECT_EQ(GetPYInitial(QString::fromUtf8(c.text)), QString::fromUtf8(c.initial));
}

// Each boundary character starts its letter; the character just below it in code page 936 is the
// last one of the previous letter.
INSTANTIATE_TEST_SUITE_P(
    Boundaries, PinYinInitial,
    testing::Values(
        Case{"盃", "0"}, // B0A0
        Case{"啊", "A"}, Case{"澳", "A"}, Case{"芭", "B"}, Case{"怖", "B"}, Case{"擦", "C"},
        Case{"错", "C"}, Case{"搭", "D"}, Case{"堕", "D"}, Case{"蛾", "E"}, Case{"贰", "E"},
        Case{"发", "F"}, Case{"咐", "F"}, Case{"噶", "G"}, Case{"过", "G"}, Case{"哈", "H"},
        Case{"祸", "H"}, Case{"击", "J"}, Case{"骏", "J"}, Case{"喀", "K"}, Case{"阔", "K"},
        Case{"垃", "L"}, Case{"络", "L"}, Case{"妈", "M"}, Case{"穆", "M"}, Case{"拿", "N"},
        Case{"诺", "N"}, Case{"哦", "O"}, Case{"沤", "O"}, Case{"啪", "P"}, Case{"瀑", "P"},
        Case{"期", "Q"}, Case{"群", "Q"}, Case{"然", "R"}, Case{"弱", "R"}, Case{"撒", "S"},
        Case{"所", "S"}, Case{"塌", "T"}, Case{"唾", "T"}, Case{"挖", "W"}, Case{"误", "W"},
        Case{"昔", "X"}, Case{"迅", "X"}, Case{"压", "Y"}, Case{"孕", "Y"}, Case{"匝", "Z"}));

INSTANTIATE_TEST_SUITE_P(SingleCharacters, PinYinInitial,
                         testing::Values(Case{"a", "A"}, Case{"z", "Z"}, Case{"Z", "Z"},
                                         Case{"5", "5"}, Case{"-", "-"}, Case{"[", "["},
                                         Case{"@", "@"}, Case{" ", " "},
                                         Case{"€", "€"},  // the single byte 0x80 of code page 936
                                         Case{"吧", "B"}, // B0C9
                                         Case{"中", "Z"}, // D6D0
                                         Case{"您", "N"}, // C4FA
                                         Case{"亍", "Z"}, // D8A1, second level: ordered by radical
                                         Case{"齄", "Z"}, // F7FE, the last GB2312 character
                                         Case{"，", "0"}, // A3AC, full-width comma
                                         Case{"é", "0"},  // A8A6, pinyin letter
                                         Case{"丂", "0"}, // 8140, extension with a low lead byte
                                         Case{"", "0"}));

// Characters outside code page 936 have no initial, whether in the BMP or beyond it.
INSTANTIATE_TEST_SUITE_P(NotInCodePage, PinYinInitial,
                         testing::Values(Case{"😀", "0"}, Case{"𠀀", "0"}, Case{"ก", "0"},
                                         Case{"😀abc", "0"}));

// Longer texts: the whole text in upper case is compared with "A" and "Z".
INSTANTIATE_TEST_SUITE_P(Texts, PinYinInitial,
                         testing::Values(Case{"ab", "A"}, Case{"yellow", "Y"}, Case{"a中", "A"},
                                         Case{"Zebra", "Zebra"}, Case{"zoo", "zoo"},
                                         Case{"5x", "5x"}, Case{"-a", "-a"}, Case{"中文", "Z"},
                                         Case{"您好", "N"}, Case{"€uro", "€uro"}));

TEST(PinYin, UnpairedSurrogateGivesZero) {
    EXPECT_EQ(GetPYInitial(QString(QChar(0xD83D))), QStringLiteral("0"));
    EXPECT_EQ(GetPYInitial(QString(QChar(0xDE00)) + QLatin1Char('a')), QStringLiteral("0"));
}

} // namespace
