#include "tray/ShortcutTable.h"
#include "tray/VirtualKeys.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// A key event of a sequence: a virtual-key code going down (true) or up (false).
struct Key {
    int vk;
    bool down;
};

struct Case {
    const char *name;
    std::vector<Key> keys;
    std::vector<int> fired;        // entries fired, in order
    std::vector<bool> withheld;    // per event
    const char *userText = "user"; // entry 0's paste text
};

constexpr int Alt = vk::LMenu, RAlt = vk::RMenu, Ctrl = vk::LControl, Shift = vk::LShift;
constexpr int One = 49, Two = 50, S = 83;

class Matching : public ::testing::TestWithParam<Case> {};

TEST_P(Matching, FiresAndWithholdsAsHookedKeysDo) {
    const Case &c = GetParam();
    ShortcutTable table;
    table.InitShortcuts(3);
    table.ParseShortcuts({"4|49", "4|50", "4|51", "4|83"});
    table.Shortcuts[3].Text = ShortcutTable::kBossMarker;
    table.SetPasteTexts({QString::fromUtf8(c.userText), "secret", ""});
    std::vector<int> fired;
    std::vector<bool> withheld;
    for (const Key &key : c.keys) {
        const auto outcome = table.keyEvent(key.vk, key.down, [&](int entry) {
            fired.push_back(entry);
            const QString &text = table.Shortcuts[std::size_t(entry)].Text;
            return text == ShortcutTable::kBossMarker || !text.isEmpty();
        });
        withheld.push_back(outcome.withhold);
    }
    EXPECT_EQ(fired, c.fired);
    EXPECT_EQ(withheld, c.withheld);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, Matching,
    ::testing::Values(
        Case{"AltOneTypes",
             {{Alt, true}, {One, true}, {One, false}, {Alt, false}},
             {0},
             {false, true, false, false}},
        // The key repeats while held: one action, every repeat withheld as the first was.
        Case{"HeldFiresOnce",
             {{Alt, true}, {One, true}, {One, true}, {One, true}, {One, false}, {Alt, false}},
             {0},
             {false, true, true, true, false, false}},
        Case{"RightAltAsLeft",
             {{RAlt, true}, {One, true}, {One, false}, {RAlt, false}},
             {0},
             {false, true, false, false}},
        // An empty paste text passes its key on.
        Case{"EmptyTextPassesOn",
             {{Alt, true}, {One, true}, {One, false}, {Alt, false}},
             {0},
             {false, false, false, false},
             ""},
        // Releasing Alt disarms: 1 alone afterwards is an ordinary key.
        Case{"ReleasedAltDisarms",
             {{Alt, true}, {Alt, false}, {One, true}, {One, false}},
             {},
             {false, false, false, false}},
        // Alt held, two shortcuts in a row: the main key decides which fires.
        Case{"AltArmsAll",
             {{Alt, true}, {One, true}, {One, false}, {Two, true}, {Two, false}, {Alt, false}},
             {0, 1},
             {false, true, false, true, false, false}},
        // Alt released before the key: the key-up still resets, the next press fires again.
        Case{"ReleaseOrderFree",
             {{Alt, true}, {One, true}, {Alt, false}, {One, false}, {Alt, true}, {One, true}},
             {0, 0},
             {false, true, false, false, false, true}},
        Case{"OtherModifierIgnored", {{Ctrl, true}, {One, true}}, {}, {false, false}},
        Case{"ShiftIgnored", {{Shift, true}, {S, true}}, {}, {false, false}},
        Case{"BossKey",
             {{Alt, true}, {S, true}, {S, false}, {Alt, false}},
             {3},
             {false, true, false, false}}),
    [](const ::testing::TestParamInfo<Case> &info) { return std::string(info.param.name); });

TEST(ShortcutTable, ParsesShortcutTexts) {
    ShortcutTable table;
    table.InitShortcuts(3);
    table.ParseShortcuts({"4|49", "2|116", "1|65", ""});
    EXPECT_EQ(table.Shortcuts[0].ModKey, vk::LMenu);
    EXPECT_EQ(table.Shortcuts[0].KeyCode, 49);
    EXPECT_EQ(table.Shortcuts[1].ModKey, vk::LControl);
    EXPECT_EQ(table.Shortcuts[1].KeyCode, 116);
    EXPECT_EQ(table.Shortcuts[2].ModKey, vk::LShift);
    EXPECT_EQ(table.Shortcuts[3].ModKey, 0);
    EXPECT_EQ(table.Shortcuts[3].KeyCode, 0);
    // Another mask keeps the modifier an earlier parse gave the entry.
    table.ParseShortcuts({"6|65", "0|66", "3|67", "4|300"});
    EXPECT_EQ(table.Shortcuts[0].ModKey, vk::LMenu);
    EXPECT_EQ(table.Shortcuts[0].KeyCode, 65);
    EXPECT_EQ(table.Shortcuts[1].ModKey, vk::LControl);
    EXPECT_EQ(table.Shortcuts[3].KeyCode, 0); // out of range
}

TEST(ShortcutTable, ParsingKeepsTextsAndFlags) {
    ShortcutTable table;
    table.InitShortcuts(3);
    table.SetPasteTexts({"u", "p", "w"});
    table.Shortcuts[0].Fired = true;
    table.ParseShortcuts({"4|49", "4|50", "4|51", "4|83"});
    EXPECT_EQ(table.Shortcuts[0].Text, QStringLiteral("u"));
    EXPECT_TRUE(table.Shortcuts[0].Fired);
}

TEST(ShortcutTable, IsSameModifier) {
    EXPECT_TRUE(ShortcutTable::IsSameModifier(vk::LMenu, vk::RMenu));
    EXPECT_TRUE(ShortcutTable::IsSameModifier(vk::LShift, vk::LShift));
    EXPECT_TRUE(ShortcutTable::IsSameModifier(vk::LControl, vk::RControl));
    EXPECT_FALSE(ShortcutTable::IsSameModifier(vk::LMenu, vk::LControl));
    EXPECT_FALSE(ShortcutTable::IsSameModifier(vk::RShift, vk::LControl));
    EXPECT_FALSE(ShortcutTable::IsSameModifier(0, vk::LShift));
}

TEST(ShortcutTable, OnlyCombinationsThatActAreGrabbed) {
    ShortcutTable table;
    table.InitShortcuts(3);
    table.ParseShortcuts({"4|49", "4|50", "", "4|83"});
    table.Shortcuts[3].Text = ShortcutTable::kBossMarker;
    table.SetPasteTexts({"user", "", "url"});
    const std::vector<ShortcutTable::Combo> expected = {{0, vk::LMenu, 49}, {3, vk::LMenu, 83}};
    EXPECT_EQ(table.activeCombos(), expected);
}

} // namespace
