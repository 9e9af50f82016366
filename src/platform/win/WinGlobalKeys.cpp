#include "platform/win/WinGlobalKeys.h"

#include <algorithm>
#include <utility>

namespace {

WinGlobalKeys *g_instance = nullptr; // the hook procedure has no other way to find it

// Marks the input this program synthesises, so that its own hook lets it pass untouched; the
// last event of a typing carries the second mark.
constexpr ULONG_PTR kOwnInput = 0x4f4d4231, kOwnInputEnd = 0x4f4d4232;
// A key without meaning: pressed while Alt or the Windows key is down, it keeps their release
// from opening the menu bar or the Start menu.
constexpr WORD kMaskKey = 0xe8;

constexpr int kModifiers[] = {VK_LSHIFT, VK_RSHIFT, VK_LCONTROL, VK_RCONTROL,
                              VK_LMENU,  VK_RMENU,  VK_LWIN,     VK_RWIN};

bool isModifier(int vk) {
    return std::find(std::begin(kModifiers), std::end(kModifiers), vk) != std::end(kModifiers);
}

INPUT keyInput(WORD vk, bool down) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = WORD(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    if (vk == VK_RCONTROL || vk == VK_RMENU || vk == VK_LWIN || vk == VK_RWIN)
        input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    input.ki.dwExtraInfo = kOwnInput;
    return input;
}

INPUT unicodeInput(char16_t unit, bool down) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = WORD(unit);
    input.ki.dwFlags = KEYEVENTF_UNICODE | (down ? 0 : KEYEVENTF_KEYUP);
    input.ki.dwExtraInfo = kOwnInput;
    return input;
}

void send(std::vector<INPUT> &inputs) {
    if (!inputs.empty())
        SendInput(UINT(inputs.size()), inputs.data(), int(sizeof(INPUT)));
    for (INPUT &input : inputs)
        SecureZeroMemory(&input, sizeof input); // the typed characters
    inputs.clear();
}

void wipe(std::u16string &text) {
    std::fill(text.begin(), text.end(), u'\0');
    text.clear();
}

} // namespace

WinGlobalKeys::WinGlobalKeys() {
    g_instance = this;
}

WinGlobalKeys::~WinGlobalKeys() {
    removeHook();
    if (m_typeTimer)
        KillTimer(nullptr, m_typeTimer);
    if (m_pressTimer)
        KillTimer(nullptr, m_pressTimer);
    wipePending();
    if (g_instance == this)
        g_instance = nullptr;
}

void WinGlobalKeys::setHandler(Handler handler) {
    m_handler = std::move(handler);
    if (m_handler && !m_hook)
        m_hook = SetWindowsHookExW(WH_KEYBOARD_LL, &WinGlobalKeys::hookProc,
                                   GetModuleHandleW(nullptr), 0);
    else if (!m_handler)
        removeHook();
}

void WinGlobalKeys::removeHook() {
    if (m_hook)
        UnhookWindowsHookEx(m_hook);
    m_hook = nullptr;
}

std::vector<KeyCombo> WinGlobalKeys::setCombos(const std::vector<KeyCombo> &combos) {
    if (combos.empty())
        wipePending(); // nothing is to type any more
    return {};
}

void WinGlobalKeys::wipePending() {
    for (std::u16string &text : m_pending)
        wipe(text);
    m_pending.clear();
    m_trigger = 0;
}

LRESULT CALLBACK WinGlobalKeys::hookProc(int code, WPARAM message, LPARAM data) {
    if (!g_instance)
        return CallNextHookEx(nullptr, code, message, data);
    return g_instance->keyEvent(code, message, data);
}

LRESULT WinGlobalKeys::keyEvent(int code, WPARAM message, LPARAM data) {
    if (code != HC_ACTION)
        return CallNextHookEx(m_hook, code, message, data);
    const auto *info = reinterpret_cast<const KBDLLHOOKSTRUCT *>(data);
    // Our own typing neither triggers shortcuts nor counts as the user's keys. Once its last
    // key has come through, the user's modifiers go down again.
    if (info->dwExtraInfo == kOwnInput || info->dwExtraInfo == kOwnInputEnd) {
        if (info->dwExtraInfo == kOwnInputEnd && !m_released.empty() && !m_pressTimer)
            m_pressTimer = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, &WinGlobalKeys::pressAgain);
        return CallNextHookEx(m_hook, code, message, data);
    }
    const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    const bool up = message == WM_KEYUP || message == WM_SYSKEYUP;
    if (!down && !up)
        return CallNextHookEx(m_hook, code, message, data);
    const int vk = int(info->vkCode & 0xff);
    if (!(info->flags & LLKHF_INJECTED))
        m_physicalDown[vk] = down;

    bool withhold = false;
    if (m_handler) {
        m_keyInHandler = down && !isModifier(vk) ? vk : 0;
        withhold = m_handler(vk, down);
        m_keyInHandler = 0;
    }
    // The trigger key is up: type what waited for it, once this event has gone on its way.
    if (up && vk == m_trigger && !m_pending.empty() && !m_typeTimer)
        m_typeTimer = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, &WinGlobalKeys::typePending);
    if (down && withhold)
        return 1;
    return CallNextHookEx(m_hook, code, message, data);
}

void WinGlobalKeys::typeText(const std::u16string &text) {
    if (text.empty())
        return;
    if (m_keyInHandler != 0) {
        m_trigger = m_keyInHandler; // typed on that key's release
        m_pending.push_back(text);
        return;
    }
    if (m_trigger != 0 && !m_pending.empty()) {
        m_pending.push_back(text);
        return;
    }
    typeNow(text);
}

void CALLBACK WinGlobalKeys::typePending(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    WinGlobalKeys *self = g_instance;
    if (!self)
        return;
    self->m_typeTimer = 0;
    // One typing for all: the modifiers go up once and down once.
    std::u16string text;
    std::size_t size = 0;
    for (const std::u16string &part : self->m_pending)
        size += part.size();
    text.reserve(size); // no copies left behind by growing
    for (std::u16string &part : self->m_pending) {
        text += part;
        wipe(part);
    }
    self->m_pending.clear();
    self->m_trigger = 0;
    self->typeNow(text);
    wipe(text);
}

void WinGlobalKeys::typeNow(const std::u16string &text) {
    std::vector<INPUT> inputs;
    // The modifiers held now would turn the characters into shortcuts of the receiving
    // program: they go up for the typing.
    std::vector<Held> held;
    for (int vk : kModifiers)
        if (GetAsyncKeyState(vk) & 0x8000)
            held.push_back({vk, m_physicalDown[vk]});
    const bool menuKey = std::any_of(held.begin(), held.end(), [](const Held &h) {
        return h.vk == VK_LMENU || h.vk == VK_RMENU || h.vk == VK_LWIN || h.vk == VK_RWIN;
    });
    if (menuKey) {
        inputs.push_back(keyInput(kMaskKey, true));
        inputs.push_back(keyInput(kMaskKey, false));
    }
    for (const Held &h : held)
        inputs.push_back(keyInput(WORD(h.vk), false));

    // Every character literally, whatever the keyboard layout and CapsLock; line ends and tab
    // as their keys, which programs expect rather than the control characters.
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit == u'\r' || unit == u'\n' || unit == u'\t') {
            if (unit == u'\n' && i > 0 && text[i - 1] == u'\r')
                continue;
            const WORD vk = unit == u'\t' ? VK_TAB : VK_RETURN;
            inputs.push_back(keyInput(vk, true));
            inputs.push_back(keyInput(vk, false));
            continue;
        }
        inputs.push_back(unicodeInput(unit, true));
        inputs.push_back(unicodeInput(unit, false));
    }
    if (inputs.empty())
        return;
    inputs.back().ki.dwExtraInfo = kOwnInputEnd;
    for (const Held &h : held)
        if (std::none_of(m_released.begin(), m_released.end(),
                         [&](const Held &r) { return r.vk == h.vk; }))
            m_released.push_back(h);
    send(inputs);
}

// Runs once the typing has come through the hook: a modifier held on the real keyboard before
// and let go meanwhile stays up (pressing it again would leave it stuck down); one held by
// synthesised input is put back as it was.
void CALLBACK WinGlobalKeys::pressAgain(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    WinGlobalKeys *self = g_instance;
    if (!self)
        return;
    self->m_pressTimer = 0;
    std::vector<INPUT> inputs;
    for (const Held &h : self->m_released)
        if (!h.physical || self->m_physicalDown[h.vk])
            inputs.push_back(keyInput(WORD(h.vk), true));
    self->m_released.clear();
    send(inputs);
}

std::unique_ptr<GlobalKeyBackend> createGlobalKeyBackend() {
    return std::make_unique<WinGlobalKeys>();
}
