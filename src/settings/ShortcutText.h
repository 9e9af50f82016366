#pragma once

#include <QString>

// The display text of a shortcut text: "4|49" → "Alt + Num 1", "2|116" → "Ctrl + F5".
QString GetShortcutName(const QString &shortcut);

// Capture of a shortcut in one of the four read-only boxes of the settings window: key-downs
// and key-ups with the event's modifier mask, as the box sees them.
class ShortcutCapture {
public:
    // `bossKey`: the boss-key box, the only one where Shift alone is a modifier.
    explicit ShortcutCapture(bool bossKey) : m_bossKey(bossKey) {}

    void load(const QString &stored);
    void keyDown(int keyCode, int mask);
    void keyUp();

    const QString &text() const { return m_text; } // what the box shows
    const QString &tag() const { return m_tag; }   // the shortcut text stored on OK
    // Shared by the four boxes of one window: the mask of the last key-down in any of them.
    static int ShiftState;

private:
    bool m_bossKey;
    QString m_text;
    QString m_tag;
};
