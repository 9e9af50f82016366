#pragma once

// System-wide keys on Windows: a low-level keyboard hook sees every key of the desktop and
// withholds the ones the handler takes; typing goes through SendInput as Unicode characters.
// Plain Win32, free of Qt, so that the cross compiler checks it on any machine.
#include "platform/GlobalKeyBackend.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>
#include <vector>

class WinGlobalKeys : public GlobalKeyBackend {
public:
    WinGlobalKeys();
    ~WinGlobalKeys() override;
    WinGlobalKeys(const WinGlobalKeys &) = delete;
    WinGlobalKeys &operator=(const WinGlobalKeys &) = delete;

    bool available() const override { return true; }
    // The hook is in place while there is a handler.
    void setHandler(Handler handler) override;
    // Nothing to grab: the hook sees every key anyway.
    std::vector<KeyCombo> setCombos(const std::vector<KeyCombo> &combos) override;
    void typeText(const std::u16string &text) override;

private:
    struct Held {
        int vk;
        bool physical; // held on a real keyboard, not by synthesised input
    };

    static LRESULT CALLBACK hookProc(int code, WPARAM message, LPARAM data);
    static void CALLBACK typePending(HWND, UINT, UINT_PTR timer, DWORD);
    static void CALLBACK pressAgain(HWND, UINT, UINT_PTR timer, DWORD);
    LRESULT keyEvent(int code, WPARAM message, LPARAM data);
    void typeNow(const std::u16string &text);
    void removeHook();
    void wipePending();

    HHOOK m_hook = nullptr;
    Handler m_handler;
    bool m_physicalDown[256] = {}; // from the hook's events that no program synthesised
    int m_keyInHandler = 0;        // the key whose key-down the handler is deciding on
    int m_trigger = 0;             // the key whose release starts the pending typing
    std::vector<std::u16string> m_pending;
    std::vector<Held> m_released; // modifiers released for the typing, to press again
    UINT_PTR m_typeTimer = 0;
    UINT_PTR m_pressTimer = 0;
};
