#include "platform/x11/X11KeyMap.h"

#include "tray/VirtualKeys.h"

#include <gtest/gtest.h>
// After gtest: X's macros (None, Bool) clash with its names.
#include <X11/X.h>
#include <X11/keysym.h>

using namespace x11keys;

TEST(X11KeyMap, ModifierBitsAgreeWithXlib) {
    EXPECT_EQ(kShift, unsigned(ShiftMask));
    EXPECT_EQ(kLock, unsigned(LockMask));
    EXPECT_EQ(kControl, unsigned(ControlMask));
    EXPECT_EQ(kMod1, unsigned(Mod1Mask));
}

TEST(X11KeyMap, VirtualKeysBecomeKeysyms) {
    const struct {
        int vk;
        unsigned long keysym;
    } cases[] = {
        {65, XK_a},
        {83, XK_s},
        {90, XK_z},
        {48, XK_0},
        {49, XK_1},
        {57, XK_9},
        {96, XK_KP_0},
        {97, XK_KP_1},
        {105, XK_KP_9},
        {112, XK_F1},
        {116, XK_F5},
        {123, XK_F12},
        {135, XK_F24},
        {32, XK_space},
        {13, XK_Return},
        {9, XK_Tab},
        {8, XK_BackSpace},
        {27, XK_Escape},
        {33, XK_Page_Up},
        {34, XK_Page_Down},
        {35, XK_End},
        {36, XK_Home},
        {37, XK_Left},
        {38, XK_Up},
        {39, XK_Right},
        {40, XK_Down},
        {45, XK_Insert},
        {46, XK_Delete},
        {19, XK_Pause},
        {20, XK_Caps_Lock},
        {44, XK_Print},
        {145, XK_Scroll_Lock},
        {144, XK_Num_Lock},
        {93, XK_Menu},
        {106, XK_KP_Multiply},
        {107, XK_KP_Add},
        {109, XK_KP_Subtract},
        {110, XK_KP_Decimal},
        {111, XK_KP_Divide},
        {186, XK_semicolon},
        {187, XK_equal},
        {188, XK_comma},
        {189, XK_minus},
        {190, XK_period},
        {191, XK_slash},
        {192, XK_grave},
        {219, XK_bracketleft},
        {220, XK_backslash},
        {221, XK_bracketright},
        {222, XK_apostrophe},
        {226, XK_less},
        {160, XK_Shift_L},
        {161, XK_Shift_R},
        {162, XK_Control_L},
        {163, XK_Control_R},
        {164, XK_Alt_L},
        {165, XK_Alt_R},
    };
    for (const auto &c : cases)
        EXPECT_EQ(keysymOfVk(c.vk), c.keysym) << "vk " << c.vk;
}

TEST(X11KeyMap, CodesWithoutKeyHaveNoKeysym) {
    // 0, the mouse buttons, the gap between Z and the keypad, past F24, out of range.
    for (int code : {0, 1, 2, 4, 47, 58, 64, 91 + 3, 136, 255, 256, -1, 1000})
        EXPECT_EQ(keysymOfVk(code), 0u) << "vk " << code;
}

TEST(X11KeyMap, EveryCodeTheShortcutBoxesProduceHasAKeysym) {
    // Each key the settings window can capture must be grabbable.
    for (int qtKey = Qt::Key_Space; qtKey <= Qt::Key_AsciiTilde; ++qtKey)
        for (bool keypad : {false, true}) {
            if (const int code = vk::fromQtKey(qtKey, keypad)) {
                EXPECT_NE(keysymOfVk(code), 0u) << "Qt key " << qtKey << " keypad " << keypad;
            }
        }
    for (int qtKey : {Qt::Key_F1, Qt::Key_F12, Qt::Key_Left, Qt::Key_PageDown, Qt::Key_Insert,
                      Qt::Key_Delete, Qt::Key_Home, Qt::Key_Escape, Qt::Key_Backspace})
        EXPECT_NE(keysymOfVk(vk::fromQtKey(qtKey, false)), 0u) << "Qt key " << qtKey;
}

TEST(X11KeyMap, MasksBecomeXModifiersAndVirtualKeys) {
    const struct {
        int mask;
        unsigned x;
        std::vector<int> vks;
    } cases[] = {
        {0, 0, {}},
        {1, ShiftMask, {160}},
        {2, ControlMask, {162}},
        {4, Mod1Mask, {164}},
        {5, ShiftMask | Mod1Mask, {160, 164}},
        {7, ShiftMask | ControlMask | Mod1Mask, {160, 162, 164}},
        {8, 0, {}}, // no such modifier
    };
    for (const auto &c : cases) {
        EXPECT_EQ(xModifiersOfMask(c.mask), c.x) << "mask " << c.mask;
        EXPECT_EQ(modifierVksOfMask(c.mask), c.vks) << "mask " << c.mask;
    }
}

TEST(X11KeyMap, LockVariantsAreEverySubset) {
    const struct {
        unsigned locks;
        std::vector<unsigned> variants;
    } cases[] = {
        {0, {0}},
        {LockMask, {0, LockMask}},
        {LockMask | Mod2Mask, {0, LockMask, Mod2Mask, LockMask | Mod2Mask}},
        {LockMask | Mod2Mask | Mod3Mask,
         {0, LockMask, Mod2Mask, LockMask | Mod2Mask, Mod3Mask, LockMask | Mod3Mask,
          Mod2Mask | Mod3Mask, LockMask | Mod2Mask | Mod3Mask}},
        {Mod5Mask, {0, Mod5Mask}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(lockVariants(c.locks), c.variants) << "locks " << c.locks;
}

TEST(X11KeyMap, CharactersBecomeKeysyms) {
    const struct {
        char32_t c;
        unsigned long keysym;
    } cases[] = {
        {U'a', XK_a},
        {U'A', XK_A},
        {U'1', XK_1},
        {U' ', XK_space},
        {U'~', XK_asciitilde},
        // What send-keys notation would read as Shift, Ctrl, Alt, Enter and groups.
        {U'+', XK_plus},
        {U'^', XK_asciicircum},
        {U'%', XK_percent},
        {U'(', XK_parenleft},
        {U')', XK_parenright},
        {U'{', XK_braceleft},
        {U'}', XK_braceright},
        {U'[', XK_bracketleft},
        {U']', XK_bracketright},
        // Latin-1 is its own keysym, the rest is Unicode.
        {U'\u00a0', XK_nobreakspace},
        {U'é', XK_eacute},
        {U'ÿ', XK_ydiaeresis},
        {U'€', 0x010020ac},
        {U'张', 0x01005f20},
        {U'\U0001F600', 0x0101f600},
        {U'\U0010FFFF', 0x0110ffff},
        // Line ends and tab are keys; the other control characters type nothing.
        {U'\n', XK_Return},
        {U'\r', XK_Return},
        {U'\t', XK_Tab},
        {U'\0', 0},
        {U'\x1b', 0},
        {U'\x7f', 0},
        {U'\x85', 0},
        {char32_t(0xd800), 0},
        {char32_t(0x110000), 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(keysymOfChar(c.c), c.keysym) << "U+" << std::hex << unsigned(c.c);
}

TEST(X11KeyMap, Utf16BecomesCodePoints) {
    const struct {
        std::u16string text;
        std::u32string points;
    } cases[] = {
        {u"", U""},
        {u"abc", U"abc"},
        {u"张三丰", U"张三丰"},
        {u"a\U0001F600b", U"a\U0001F600b"},
        {u"\U0010FFFF", U"\U0010FFFF"},
        {std::u16string{u'a', char16_t(0xd83d)}, U"a"}, // high surrogate at the end
        {std::u16string{char16_t(0xde00), u'b'}, U"b"}, // low surrogate alone
        {std::u16string{char16_t(0xd83d), u'x'}, U"x"}, // high surrogate, no low one
        {std::u16string{char16_t(0xd83d), char16_t(0xd83d), char16_t(0xde00)}, U"\U0001F600"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(codePoints(c.text), c.points);
}
