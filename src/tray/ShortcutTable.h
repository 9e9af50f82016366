#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// One global shortcut: its modifier and main key (virtual-key codes), whether the modifier is
// held now, whether it already fired for the current press of its key, and what it types.
struct ShortcutKey {
    int ModKey = 0;  // vk::LShift, vk::LControl or vk::LMenu; 0 for none
    int KeyCode = 0; // 0 for none
    bool ModDown = false;
    bool Fired = false;
    QString Text; // entries 0 to 2: the text to type; entry 3: the boss-key marker
};

// The four global shortcuts (paste user ID, paste password, paste web address, boss key) and
// the matching of key events against them. Pure: platform backends feed it key events and run
// what it asks for.
class ShortcutTable {
public:
    static constexpr int kPasteUser = 0, kPastePassword = 1, kPasteUrl = 2, kBossKey = 3;
    static inline const QString kBossMarker = QStringLiteral("close to min");

    // A fresh table with entries 0 to `upperBound`, all empty.
    void InitShortcuts(int upperBound);
    // Modifier and key of entries 0 to 3 from shortcut texts ("4|49"); texts and flags stay.
    void ParseShortcuts(const QStringList &texts);
    // The texts entries 0 to 2 type; empty texts make those shortcuts pass their keys on.
    void SetPasteTexts(const QStringList &texts);
    static bool IsSameModifier(int stored, int pressed);

    // What a key event did: whether it is withheld from the focused application, and which
    // entry fired (-1: none). `fire` runs an entry's action and says whether it consumed the
    // key.
    struct Outcome {
        bool withhold = false;
        int fired = -1;
    };
    template <typename Fire> Outcome keyEvent(int vk, bool down, Fire fire);

    // The combinations worth grabbing: entries with a modifier and a key that would act
    // (a boss key, or a paste shortcut with a text).
    struct Combo {
        int entry;
        int ModKey;
        int KeyCode;
        bool operator==(const Combo &) const = default;
    };
    std::vector<Combo> activeCombos() const;

    std::vector<ShortcutKey> Shortcuts;
    bool KeyHandled = false;

private:
    static bool isModifierKey(int vk) { return vk >= 160 && vk <= 165; }
};

template <typename Fire>
ShortcutTable::Outcome ShortcutTable::keyEvent(int vk, bool down, Fire fire) {
    Outcome outcome;
    if (isModifierKey(vk)) {
        for (ShortcutKey &entry : Shortcuts)
            if (IsSameModifier(entry.ModKey, vk))
                entry.ModDown = down;
        return outcome;
    }
    if (!down) {
        for (ShortcutKey &entry : Shortcuts)
            if (entry.KeyCode == vk)
                entry.Fired = false;
        return outcome;
    }
    for (std::size_t i = 0; i < Shortcuts.size(); ++i) {
        ShortcutKey &entry = Shortcuts[i];
        if (entry.KeyCode != vk || !entry.ModDown)
            continue;
        if (!entry.Fired) {
            entry.Fired = true;
            KeyHandled = fire(int(i));
            outcome.fired = int(i);
        }
        // An auto-repeat of a key that fired is withheld as its first press was.
        outcome.withhold = KeyHandled;
        return outcome;
    }
    return outcome;
}
