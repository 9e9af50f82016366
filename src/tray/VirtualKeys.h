#pragma once

#include <Qt>

// Keys are named by their Windows virtual-key codes on every platform, so that stored shortcut
// texts ("4|49" is Alt+1) mean the same everywhere.
namespace vk {

constexpr int Back = 8, Tab = 9, Return = 13, Pause = 19, Capital = 20, Escape = 27, Space = 32;
constexpr int Prior = 33, Next = 34, End = 35, Home = 36, Left = 37, Up = 38, Right = 39, Down = 40;
constexpr int Insert = 45, Delete = 46;
constexpr int Digit0 = 48, KeyA = 65, Numpad0 = 96, F1 = 112, F12 = 123;
constexpr int Multiply = 106, Add = 107, Subtract = 109, Decimal = 110, Divide = 111;
constexpr int LShift = 160, RShift = 161, LControl = 162, RControl = 163, LMenu = 164, RMenu = 165;
// The punctuation keys of a US keyboard.
constexpr int Oem1 = 186, OemPlus = 187, OemComma = 188, OemMinus = 189, OemPeriod = 190;
constexpr int Oem2 = 191, Oem3 = 192, Oem4 = 219, Oem5 = 220, Oem6 = 221, Oem7 = 222;

// Modifier mask of a shortcut text: 1 Shift, 2 Ctrl, 4 Alt.
constexpr int MaskShift = 1, MaskCtrl = 2, MaskAlt = 4;

// The virtual-key code of a Qt key; `keypad` tells a keypad digit from a main-row one.
// 0 for keys without a code.
int fromQtKey(int qtKey, bool keypad);
// The modifier mask of Qt's modifier flags.
int maskOf(Qt::KeyboardModifiers modifiers);
bool isModifier(int code);

} // namespace vk
