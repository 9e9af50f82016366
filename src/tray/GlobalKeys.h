#pragma once

#include "tray/ShortcutTable.h"

#include <QObject>
#include <QStringList>
#include <functional>

class GlobalKeyBackend;

// The global shortcuts of a logged-in user: the shortcut table fed by the platform's key
// events. Paste shortcuts type their text through the backend; the boss key runs `onBossKey`.
class GlobalKeys : public QObject {
    Q_OBJECT
public:
    GlobalKeys(GlobalKeyBackend &backend, std::function<void()> onBossKey,
               QObject *parent = nullptr);
    ~GlobalKeys() override;

    // The four shortcut texts, in the order paste user ID, password, web address, boss key.
    void setShortcuts(const QStringList &texts);
    void SetPasteTexts(const QString &userId, const QString &password, const QString &url);
    void clearPasteTexts() { SetPasteTexts({}, {}, {}); }
    // While off, the boss key is neither grabbed nor withheld: it reaches the focused window,
    // where a dialog's own Alt+letter may need it.
    void setBossKeyEnabled(bool enabled);

    const ShortcutTable &table() const { return m_table; }
    // Combinations another program already holds, from the last update.
    const QStringList &unavailable() const { return m_unavailable; }
    // One key event; returns whether it is withheld. Backends call this through their handler.
    bool keyEvent(int vk, bool down);

private:
    void updateCombos();

    GlobalKeyBackend &m_backend;
    std::function<void()> m_onBossKey;
    ShortcutTable m_table;
    QStringList m_unavailable;
    bool m_bossKeyEnabled = true;
};
