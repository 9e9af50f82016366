#include "core/NumberText.h"
#include "settings/ShortcutText.h"

#include <gtest/gtest.h>

namespace {

TEST(GetShortcutName, Table) {
    const std::pair<const char *, const char *> cases[] = {
        {"4|49", "Alt + Num 1"},
        {"2|116", "Ctrl + F5"},
        {"6|65", "Ctrl + Alt + A"},
        {"0|65", "A"},
        {"4|32", "Alt + "},
        {"", ""},
        {"4|97", "Alt + Num 1"},
        {"7|37", "Shift + Ctrl + Alt + ←"},
        {"1|40", "Shift + ↓"},
        {"3|123", "Shift + Ctrl + F12"},
        {"5|105", "Shift + Alt + Num 9"},
        {"9|65", "A"},
        {"4", ""},
        {"4|83", "Alt + S"},
    };
    for (const auto &[stored, shown] : cases)
        EXPECT_EQ(GetShortcutName(QString::fromUtf8(stored)), QString::fromUtf8(shown)) << stored;
}

// One step of a capture: a key-down with its mask, or a key-up (code -1).
struct Step {
    int code;
    int mask;
};
struct CaptureCase {
    const char *name;
    bool bossKey;
    std::vector<Step> steps;
    const char *text;
    const char *tag;
};

class Capture : public ::testing::TestWithParam<CaptureCase> {};

TEST_P(Capture, WorkedSequences) {
    const CaptureCase &c = GetParam();
    ShortcutCapture::ShiftState = 0;
    ShortcutCapture box(c.bossKey);
    box.load(QStringLiteral("4|49"));
    for (const Step &step : c.steps) {
        if (step.code < 0)
            box.keyUp();
        else
            box.keyDown(step.code, step.mask);
    }
    EXPECT_EQ(box.text(), QString::fromUtf8(c.text));
    EXPECT_EQ(box.tag(), QString::fromUtf8(c.tag));
}

constexpr int Up = -1, AltKey = 164, CtrlKey = 162, ShiftKey = 160;

INSTANTIATE_TEST_SUITE_P(
    Sequences, Capture,
    ::testing::Values(
        CaptureCase{
            "AltOne", false, {{AltKey, 4}, {49, 4}, {Up, 4}, {Up, 0}}, "Alt + Num 1", "4|49"},
        CaptureCase{
            "CtrlF5", false, {{CtrlKey, 2}, {116, 2}, {Up, 2}, {Up, 0}}, "Ctrl + F5", "2|116"},
        CaptureCase{"AltLeft", false, {{AltKey, 4}, {37, 4}}, "Alt + ←", "4|37"},
        CaptureCase{"AltAlone", false, {{AltKey, 4}, {Up, 0}}, "", ""},
        CaptureCase{"PlainLetter", false, {{65, 0}, {Up, 0}}, "", ""},
        CaptureCase{"AltSpace", false, {{AltKey, 4}, {32, 4}, {Up, 4}}, "", ""},
        CaptureCase{"ShiftLetter", false, {{ShiftKey, 1}, {65, 1}, {Up, 1}}, "", ""},
        CaptureCase{"ShiftLetterBossKey",
                    true,
                    {{ShiftKey, 1}, {65, 1}, {Up, 1}, {Up, 0}},
                    "Shift + A",
                    "1|65"},
        CaptureCase{"CtrlAltX", false, {{CtrlKey, 2}, {AltKey, 6}, {88, 6}, {Up, 6}}, "", ""},
        // The last key-down wins; the letter released before the modifier keeps it.
        CaptureCase{"AltAThenB",
                    false,
                    {{AltKey, 4}, {65, 4}, {66, 4}, {Up, 4}, {Up, 0}},
                    "Alt + B",
                    "4|66"},
        // No key-up reaches the box: it keeps what the key-down wrote, mask 0 included.
        CaptureCase{"NoKeyUp", false, {{65, 0}}, "A", "0|65"},
        CaptureCase{"Loaded", false, {}, "Alt + Num 1", "4|49"}),
    [](const ::testing::TestParamInfo<CaptureCase> &info) { return std::string(info.param.name); });

TEST(Capture, StoredTextWithoutKeyPartShowsNothingAndIsKept) {
    ShortcutCapture box(false);
    box.load(QStringLiteral("4"));
    EXPECT_EQ(box.text(), QString());
    EXPECT_EQ(box.tag(), QStringLiteral("4"));
}

TEST(NumberText, NumericAndLeadingNumber) {
    const struct {
        const char *text;
        bool numeric;
        double leading;
    } cases[] = {
        {"5", true, 5},     {"-3", true, -3},  {"+2.5", true, 2.5}, {"1e2", true, 100},
        {".5", true, 0.5},  {" 7 ", true, 7},  {"-", false, 0},     {"1a", false, 1},
        {"-3a", false, -3}, {"abc", false, 0}, {"", false, 0},      {"1 2", false, 1},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(isNumeric(QString::fromUtf8(c.text)), c.numeric) << c.text;
        EXPECT_DOUBLE_EQ(leadingNumber(QString::fromUtf8(c.text)), c.leading) << c.text;
    }
}

} // namespace
