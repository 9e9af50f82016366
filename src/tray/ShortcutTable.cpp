#include "tray/ShortcutTable.h"

#include "tray/VirtualKeys.h"

#include <cmath>

void ShortcutTable::InitShortcuts(int upperBound) {
    Shortcuts.assign(std::size_t(upperBound + 1), ShortcutKey());
    KeyHandled = false;
}

void ShortcutTable::ParseShortcuts(const QStringList &texts) {
    for (int i = 0; i < 4 && std::size_t(i) < Shortcuts.size(); ++i) {
        ShortcutKey &entry = Shortcuts[std::size_t(i)];
        const QString text = i < texts.size() ? texts[i] : QString();
        if (text.isEmpty()) {
            entry.ModKey = 0;
            entry.KeyCode = 0;
            continue;
        }
        const QStringList parts = text.split(QLatin1Char('|'));
        switch (int(std::lround(parts[0].toDouble()))) {
        case vk::MaskShift:
            entry.ModKey = vk::LShift;
            break;
        case vk::MaskCtrl:
            entry.ModKey = vk::LControl;
            break;
        case vk::MaskAlt:
            entry.ModKey = vk::LMenu;
            break;
        default:
            break; // another mask keeps the modifier the entry had
        }
        const long key = parts.size() > 1 ? std::lround(parts[1].toDouble()) : 0;
        entry.KeyCode = key >= 0 && key <= 255 ? int(key) : 0;
    }
}

void ShortcutTable::SetPasteTexts(const QStringList &texts) {
    for (int i = 0; i < 3 && std::size_t(i) < Shortcuts.size(); ++i)
        Shortcuts[std::size_t(i)].Text = i < texts.size() ? texts[i] : QString();
}

bool ShortcutTable::IsSameModifier(int stored, int pressed) {
    if (stored == 0)
        return false;
    const auto pair = [](int code) { return (code - vk::LShift) / 2; };
    return stored >= vk::LShift && stored <= vk::RMenu && pressed >= vk::LShift &&
           pressed <= vk::RMenu && pair(stored) == pair(pressed);
}

std::vector<ShortcutTable::Combo> ShortcutTable::activeCombos() const {
    std::vector<Combo> combos;
    for (std::size_t i = 0; i < Shortcuts.size(); ++i) {
        const ShortcutKey &entry = Shortcuts[i];
        const bool acts = entry.Text == kBossMarker || !entry.Text.isEmpty();
        if (entry.ModKey != 0 && entry.KeyCode != 0 && acts)
            combos.push_back({int(i), entry.ModKey, entry.KeyCode});
    }
    return combos;
}
