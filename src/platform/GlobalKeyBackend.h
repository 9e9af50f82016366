#pragma once

// System-wide keys of one platform. Kept free of Qt so that the Windows backend is plain Win32.
#include <functional>
#include <memory>
#include <string>
#include <vector>

// A key combination by virtual-key codes: a modifier mask (1 Shift, 2 Ctrl, 4 Alt) and a key.
struct KeyCombo {
    int modifierMask = 0;
    int vk = 0;
    bool operator==(const KeyCombo &) const = default;
};

class GlobalKeyBackend {
public:
    // Called for each key event the backend sees (virtual-key code, down or up); returns
    // whether the event is to be withheld from the focused application.
    using Handler = std::function<bool(int vk, bool down)>;

    virtual ~GlobalKeyBackend() = default;
    // False where system-wide keys cannot work (no X server, Wayland).
    virtual bool available() const = 0;
    virtual void setHandler(Handler handler) = 0;
    // The combinations that can act. A backend that must grab keys grabs exactly these, so that
    // every other key reaches the focused application; it returns those another program holds.
    virtual std::vector<KeyCombo> setCombos(const std::vector<KeyCombo> &combos) = 0;
    // Types `text` literally into the window that has the focus, once the key that triggered it
    // is released, with the modifiers the user still holds released for the typing.
    virtual void typeText(const std::u16string &text) = 0;
};

// The backend of this platform; one that is never available where there is none.
std::unique_ptr<GlobalKeyBackend> createGlobalKeyBackend();

// A backend that catches nothing.
class NoGlobalKeys : public GlobalKeyBackend {
public:
    bool available() const override { return false; }
    void setHandler(Handler) override {}
    std::vector<KeyCombo> setCombos(const std::vector<KeyCombo> &combos) override { return combos; }
    void typeText(const std::u16string &) override {}
};
