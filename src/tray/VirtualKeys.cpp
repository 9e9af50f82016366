#include "tray/VirtualKeys.h"

namespace vk {

int fromQtKey(int key, bool keypad) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return KeyA + (key - Qt::Key_A);
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return (keypad ? Numpad0 : Digit0) + (key - Qt::Key_0);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return F1 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace:
        return Back;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return Return;
    case Qt::Key_Pause:
        return Pause;
    case Qt::Key_CapsLock:
        return Capital;
    case Qt::Key_Escape:
        return Escape;
    case Qt::Key_Space:
        return Space;
    case Qt::Key_PageUp:
        return Prior;
    case Qt::Key_PageDown:
        return Next;
    case Qt::Key_End:
        return End;
    case Qt::Key_Home:
        return Home;
    case Qt::Key_Left:
        return Left;
    case Qt::Key_Up:
        return Up;
    case Qt::Key_Right:
        return Right;
    case Qt::Key_Down:
        return Down;
    case Qt::Key_Insert:
        return Insert;
    case Qt::Key_Delete:
        return Delete;
    case Qt::Key_Shift:
        return LShift;
    case Qt::Key_Control:
        return LControl;
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
        return LMenu;
    case Qt::Key_Asterisk:
        return keypad ? Multiply : 0;
    case Qt::Key_Plus:
        return keypad ? Add : OemPlus;
    case Qt::Key_Minus:
        return keypad ? Subtract : OemMinus;
    case Qt::Key_Period:
        return keypad ? Decimal : OemPeriod;
    case Qt::Key_Slash:
        return keypad ? Divide : Oem2;
    case Qt::Key_Semicolon:
        return Oem1;
    case Qt::Key_Equal:
        return OemPlus;
    case Qt::Key_Comma:
        return OemComma;
    case Qt::Key_QuoteLeft:
        return Oem3;
    case Qt::Key_BracketLeft:
        return Oem4;
    case Qt::Key_Backslash:
        return Oem5;
    case Qt::Key_BracketRight:
        return Oem6;
    case Qt::Key_Apostrophe:
        return Oem7;
    default:
        return 0;
    }
}

int maskOf(Qt::KeyboardModifiers modifiers) {
    int mask = 0;
    if (modifiers & Qt::ShiftModifier)
        mask |= MaskShift;
    if (modifiers & Qt::ControlModifier)
        mask |= MaskCtrl;
    if (modifiers & Qt::AltModifier)
        mask |= MaskAlt;
    return mask;
}

bool isModifier(int code) {
    return code >= LShift && code <= RMenu;
}

} // namespace vk
