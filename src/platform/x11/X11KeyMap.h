#pragma once

// The pure part of the X11 keys: virtual-key codes and characters as X keysyms, and the lock
// modifiers a grab has to be repeated for. Free of Xlib calls so that it is tested without an
// X server.
#include <string>
#include <vector>

namespace x11keys {

// X's modifier bits, as in <X11/X.h>.
constexpr unsigned kShift = 1u << 0, kLock = 1u << 1, kControl = 1u << 2, kMod1 = 1u << 3;

// The keysym of the key a virtual-key code names (the unshifted symbol: "a" for vk 65,
// KP_1 for vk 97); 0 for codes without a key.
unsigned long keysymOfVk(int vk);
// The X modifiers of a shortcut mask (1 Shift, 2 Ctrl, 4 Alt); Alt is Mod1, where both Alt
// keys sit.
unsigned xModifiersOfMask(int mask);
// The modifier virtual-key codes of a shortcut mask, in the order Shift, Ctrl, Alt.
std::vector<int> modifierVksOfMask(int mask);

// Every combination of the lock modifiers in `locks` (CapsLock, NumLock, ScrollLock): a grab
// is made once for each, so that a shortcut works whatever locks are on. Starts with 0.
std::vector<unsigned> lockVariants(unsigned locks);

// The keysym that types `c`: Latin-1 characters are their own keysyms, every other character
// is 0x01000000 plus its code point; line ends are Return, tab is Tab. 0 for the control
// characters that type nothing sensible, and for non-characters.
unsigned long keysymOfChar(char32_t c);
// The code points of UTF-16 text; an unpaired surrogate is dropped (no key could type it).
std::u32string codePoints(const std::u16string &text);

} // namespace x11keys
