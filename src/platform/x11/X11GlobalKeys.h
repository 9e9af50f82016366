#pragma once

#include "platform/GlobalKeyBackend.h"

#include <QAbstractNativeEventFilter>
#include <QTimer>
#include <map>
#include <memory>
#include <vector>

struct _XDisplay;

// System-wide keys on X11: passive grabs on the root window for exactly the combinations that
// act, read from Qt's own xcb connection, and typing through the XTest extension.
class X11GlobalKeys : public GlobalKeyBackend, public QAbstractNativeEventFilter {
public:
    // `display` is Qt's connection to the X server, whose events the application's event
    // filters see; the grabbed keys arrive there.
    explicit X11GlobalKeys(_XDisplay *display);
    ~X11GlobalKeys() override;
    X11GlobalKeys(const X11GlobalKeys &) = delete;
    X11GlobalKeys &operator=(const X11GlobalKeys &) = delete;

    bool available() const override { return true; }
    void setHandler(Handler handler) override;
    std::vector<KeyCombo> setCombos(const std::vector<KeyCombo> &combos) override;
    void typeText(const std::u16string &text) override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

    // Whether the server reports a held key as repeated presses without releases.
    bool detectableAutoRepeat() const { return m_detectableAutoRepeat; }

private:
    struct Grab {
        KeyCombo combo;
        unsigned keycode = 0;
        unsigned modifiers = 0; // X modifier bits without the locks
    };

    class ErrorTrap;
    class Bindings;

    // Grabs `grab` in every lock variant; false when another program holds one of them.
    bool grab(const Grab &grab, ErrorTrap &trap);
    void ungrab(const Grab &grab);
    // Grabs the keys of the combinations where the keyboard map has them now; returns the
    // combinations that cannot be grabbed.
    std::vector<KeyCombo> applyCombos();
    // Grabs again after the keyboard map changed, so that the combinations stay on their keys.
    void refreshGrabs();
    void keyPressed(unsigned keycode, unsigned state);
    void keyReleased(unsigned keycode);
    void typeNow(const std::u16string &text);
    void call(int vk, bool down);

    _XDisplay *m_display;
    unsigned long m_root;
    bool m_detectableAutoRepeat = false;
    int m_xkbEventBase = -1;
    Handler m_handler;
    std::vector<KeyCombo> m_combos;
    std::vector<Grab> m_grabs;
    unsigned m_locks = 0; // CapsLock, NumLock and ScrollLock bits of the grabs
    // The grabbed keys held down now, by keycode; the keyboard belongs to this program until
    // the last of them is released, so typing waits for that.
    std::map<unsigned, KeyCombo> m_held;
    std::vector<std::u16string> m_pending;
    std::unique_ptr<Bindings> m_bindings;
    QTimer m_refresh;
};
