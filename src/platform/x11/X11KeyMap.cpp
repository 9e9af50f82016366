#include "platform/x11/X11KeyMap.h"

#include "tray/VirtualKeys.h"

#include <X11/keysym.h>

namespace x11keys {

unsigned long keysymOfVk(int code) {
    if (code >= vk::KeyA && code < vk::KeyA + 26)
        return XK_a + unsigned(code - vk::KeyA);
    if (code >= vk::Digit0 && code < vk::Digit0 + 10)
        return XK_0 + unsigned(code - vk::Digit0);
    if (code >= vk::Numpad0 && code < vk::Numpad0 + 10)
        return XK_KP_0 + unsigned(code - vk::Numpad0);
    // F1 to F24 follow each other in both numberings.
    if (code >= vk::F1 && code < vk::F1 + 24)
        return XK_F1 + unsigned(code - vk::F1);
    switch (code) {
    case vk::Back:
        return XK_BackSpace;
    case vk::Tab:
        return XK_Tab;
    case vk::Return:
        return XK_Return;
    case 16:
    case vk::LShift:
        return XK_Shift_L;
    case vk::RShift:
        return XK_Shift_R;
    case 17:
    case vk::LControl:
        return XK_Control_L;
    case vk::RControl:
        return XK_Control_R;
    case 18:
    case vk::LMenu:
        return XK_Alt_L;
    case vk::RMenu:
        return XK_Alt_R;
    case vk::Pause:
        return XK_Pause;
    case vk::Capital:
        return XK_Caps_Lock;
    case vk::Escape:
        return XK_Escape;
    case vk::Space:
        return XK_space;
    case vk::Prior:
        return XK_Prior;
    case vk::Next:
        return XK_Next;
    case vk::End:
        return XK_End;
    case vk::Home:
        return XK_Home;
    case vk::Left:
        return XK_Left;
    case vk::Up:
        return XK_Up;
    case vk::Right:
        return XK_Right;
    case vk::Down:
        return XK_Down;
    case 44: // print screen
        return XK_Print;
    case vk::Insert:
        return XK_Insert;
    case vk::Delete:
        return XK_Delete;
    case 91:
        return XK_Super_L;
    case 92:
        return XK_Super_R;
    case 93: // the context-menu key
        return XK_Menu;
    case vk::Multiply:
        return XK_KP_Multiply;
    case vk::Add:
        return XK_KP_Add;
    case 108:
        return XK_KP_Separator;
    case vk::Subtract:
        return XK_KP_Subtract;
    case vk::Decimal:
        return XK_KP_Decimal;
    case vk::Divide:
        return XK_KP_Divide;
    case 144:
        return XK_Num_Lock;
    case 145:
        return XK_Scroll_Lock;
    case vk::Oem1:
        return XK_semicolon;
    case vk::OemPlus:
        return XK_equal;
    case vk::OemComma:
        return XK_comma;
    case vk::OemMinus:
        return XK_minus;
    case vk::OemPeriod:
        return XK_period;
    case vk::Oem2:
        return XK_slash;
    case vk::Oem3:
        return XK_grave;
    case vk::Oem4:
        return XK_bracketleft;
    case vk::Oem5:
        return XK_backslash;
    case vk::Oem6:
        return XK_bracketright;
    case vk::Oem7:
        return XK_apostrophe;
    case 226: // the extra key beside left Shift on ISO keyboards
        return XK_less;
    default:
        return 0;
    }
}

unsigned xModifiersOfMask(int mask) {
    unsigned modifiers = 0;
    if (mask & vk::MaskShift)
        modifiers |= kShift;
    if (mask & vk::MaskCtrl)
        modifiers |= kControl;
    if (mask & vk::MaskAlt)
        modifiers |= kMod1;
    return modifiers;
}

std::vector<int> modifierVksOfMask(int mask) {
    std::vector<int> vks;
    if (mask & vk::MaskShift)
        vks.push_back(vk::LShift);
    if (mask & vk::MaskCtrl)
        vks.push_back(vk::LControl);
    if (mask & vk::MaskAlt)
        vks.push_back(vk::LMenu);
    return vks;
}

std::vector<unsigned> lockVariants(unsigned locks) {
    std::vector<unsigned> bits;
    for (unsigned bit = 1; bit != 0 && bit <= locks; bit <<= 1)
        if (locks & bit)
            bits.push_back(bit);
    std::vector<unsigned> variants;
    for (unsigned subset = 0; subset < (1u << bits.size()); ++subset) {
        unsigned variant = 0;
        for (std::size_t i = 0; i < bits.size(); ++i)
            if (subset & (1u << i))
                variant |= bits[i];
        variants.push_back(variant);
    }
    return variants;
}

unsigned long keysymOfChar(char32_t c) {
    switch (c) {
    case U'\n':
    case U'\r':
        return XK_Return;
    case U'\t':
        return XK_Tab;
    default:
        break;
    }
    if (c < 0x20 || (c >= 0x7f && c < 0xa0))
        return 0; // control characters
    if ((c >= 0xd800 && c < 0xe000) || c > 0x10ffff)
        return 0; // not characters
    if (c < 0x100)
        return c;
    return 0x01000000ul + c;
}

std::u32string codePoints(const std::u16string &text) {
    std::u32string points;
    points.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit >= 0xd800 && unit < 0xdc00) {
            if (i + 1 < text.size() && text[i + 1] >= 0xdc00 && text[i + 1] < 0xe000) {
                points.push_back(0x10000 + ((char32_t(unit) - 0xd800) << 10) +
                                 (char32_t(text[i + 1]) - 0xdc00));
                ++i;
            }
            continue;
        }
        if (unit >= 0xdc00 && unit < 0xe000)
            continue;
        points.push_back(unit);
    }
    return points;
}

} // namespace x11keys
