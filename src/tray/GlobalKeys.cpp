#include "tray/GlobalKeys.h"

#include "platform/GlobalKeyBackend.h"
#include "settings/ShortcutText.h"
#include "storage/Crypto.h"
#include "tray/VirtualKeys.h"

namespace {
int maskOfModifier(int modKey) {
    switch (modKey) {
    case vk::LShift:
        return vk::MaskShift;
    case vk::LControl:
        return vk::MaskCtrl;
    case vk::LMenu:
        return vk::MaskAlt;
    default:
        return 0;
    }
}
} // namespace

GlobalKeys::GlobalKeys(GlobalKeyBackend &backend, std::function<void()> onBossKey, QObject *parent)
    : QObject(parent), m_backend(backend), m_onBossKey(std::move(onBossKey)) {
    m_table.InitShortcuts(3);
    m_backend.setHandler([this](int vk, bool down) { return keyEvent(vk, down); });
}

GlobalKeys::~GlobalKeys() {
    for (int i = 0; i < 3; ++i)
        crypto::wipe(m_table.Shortcuts[std::size_t(i)].Text);
    m_backend.setCombos({});
    m_backend.setHandler({});
}

void GlobalKeys::setShortcuts(const QStringList &texts) {
    m_table.ParseShortcuts(texts);
    setBossKeyEnabled(m_bossKeyEnabled);
}

void GlobalKeys::setBossKeyEnabled(bool enabled) {
    m_bossKeyEnabled = enabled;
    // An entry without a text neither acts nor is grabbed.
    m_table.Shortcuts[ShortcutTable::kBossKey].Text =
        enabled ? ShortcutTable::kBossMarker : QString();
    updateCombos();
}

void GlobalKeys::SetPasteTexts(const QString &userId, const QString &password, const QString &url) {
    for (int i = 0; i < 3; ++i)
        crypto::wipe(m_table.Shortcuts[std::size_t(i)].Text);
    m_table.SetPasteTexts({userId, password, url});
    updateCombos();
}

void GlobalKeys::updateCombos() {
    std::vector<KeyCombo> combos;
    for (const ShortcutTable::Combo &combo : m_table.activeCombos())
        combos.push_back({maskOfModifier(combo.ModKey), combo.KeyCode});
    m_unavailable.clear();
    for (const KeyCombo &taken : m_backend.setCombos(combos))
        m_unavailable << GetShortcutName(
            QStringLiteral("%1|%2").arg(taken.modifierMask).arg(taken.vk));
}

bool GlobalKeys::keyEvent(int vk, bool down) {
    const ShortcutTable::Outcome outcome = m_table.keyEvent(vk, down, [this](int entry) {
        const QString &text = m_table.Shortcuts[std::size_t(entry)].Text;
        if (text == ShortcutTable::kBossMarker) {
            if (m_onBossKey)
                m_onBossKey();
            return true;
        }
        if (text.isEmpty())
            return false;
        m_backend.typeText(text.toStdU16String());
        return true;
    });
    return outcome.withhold;
}
