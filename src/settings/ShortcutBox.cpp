#include "settings/ShortcutBox.h"

#include "tray/VirtualKeys.h"

#include <QGuiApplication>
#include <QKeyEvent>

namespace {

// The virtual-key code of the key pressed. With Shift a main-row digit arrives as the symbol
// above it ("!" for 1); the stored shortcut names the key, so the symbol goes back to its digit:
// by the key's position where the window system gives it (xkb keycodes 10 to 19 are the main
// row's 1 to 9 and 0), else by the symbols of a US keyboard. Keypad keys stay as they are.
int keyCodeOf(const QKeyEvent *event) {
    const bool keypad = event->modifiers() & Qt::KeypadModifier;
    if (!keypad) {
        static const bool xkb =
            QGuiApplication::platformName() == QLatin1String("xcb") ||
            QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
        const quint32 scanCode = event->nativeScanCode();
        if (xkb && scanCode >= 10 && scanCode <= 19)
            return vk::Digit0 + int((scanCode - 9) % 10);
        if (event->modifiers() & Qt::ShiftModifier) {
            static constexpr int kShiftedDigits[] = {
                Qt::Key_ParenRight, Qt::Key_Exclam,   Qt::Key_At,          Qt::Key_NumberSign,
                Qt::Key_Dollar,     Qt::Key_Percent,  Qt::Key_AsciiCircum, Qt::Key_Ampersand,
                Qt::Key_Asterisk,   Qt::Key_ParenLeft};
            for (int digit = 0; digit < 10; ++digit)
                if (event->key() == kShiftedDigits[digit])
                    return vk::Digit0 + digit;
        }
    }
    return vk::fromQtKey(event->key(), keypad);
}

} // namespace

ShortcutBox::ShortcutBox(bool bossKey, QWidget *parent) : QLineEdit(parent), m_capture(bossKey) {
    setReadOnly(true);
    // Typing never changes the box; keys are captured instead, Tab included only with a
    // modifier, so that the keyboard still moves on with a plain Tab.
    setContextMenuPolicy(Qt::NoContextMenu);
}

void ShortcutBox::load(const QString &stored) {
    m_capture.load(stored);
    setText(m_capture.text());
}

bool ShortcutBox::event(QEvent *event) {
    // Alt and Ctrl combinations would otherwise reach the window's mnemonics and shortcuts.
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    return QLineEdit::event(event);
}

void ShortcutBox::keyPressEvent(QKeyEvent *event) {
    if ((event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) &&
        !(event->modifiers() & (Qt::AltModifier | Qt::ControlModifier))) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->ignore(); // the window's cancel button
        return;
    }
    m_capture.keyDown(keyCodeOf(event), vk::maskOf(event->modifiers()));
    setText(m_capture.text());
    event->accept();
}

void ShortcutBox::keyReleaseEvent(QKeyEvent *event) {
    if (event->isAutoRepeat())
        return;
    m_capture.keyUp();
    setText(m_capture.text());
    event->accept();
}
