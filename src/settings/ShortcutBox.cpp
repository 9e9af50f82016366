#include "settings/ShortcutBox.h"

#include "tray/VirtualKeys.h"

#include <QKeyEvent>

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
    const int code = vk::fromQtKey(event->key(), event->modifiers() & Qt::KeypadModifier);
    m_capture.keyDown(code, vk::maskOf(event->modifiers()));
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
