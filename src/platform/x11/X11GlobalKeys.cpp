#include "platform/x11/X11GlobalKeys.h"

#if defined(OMBRIVO_X11)

#include "platform/x11/X11KeyMap.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QTimer>

#include <algorithm>
#include <bitset>
#include <chrono>
#include <cstring>
#include <optional>
#include <thread>
#include <unordered_map>

// Xlib's macros (None, Bool, KeyPress, ...) clash with Qt's names: its headers come last.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <xcb/xcb.h>

namespace {

// How long characters bound to spare keycodes keep their binding after the typing: a program
// looks the keyboard map up when it reads the change, and must still find the binding then.
constexpr std::chrono::milliseconds kBindingGrace{750};

int g_trappedError = 0;

int trapError(Display *, XErrorEvent *event) {
    if (g_trappedError == 0)
        g_trappedError = event->error_code;
    return 0;
}

} // namespace

// Catches the X errors of the requests made while it lives, instead of leaving them to the
// process-wide handler (whose default ends the program). A grab another program holds fails
// with BadAccess, which is an answer here, not a fault.
class X11GlobalKeys::ErrorTrap {
public:
    explicit ErrorTrap(Display *display) : m_display(display) {
        XSync(display, False); // earlier requests' errors belong to the previous handler
        g_trappedError = 0;
        m_previous = XSetErrorHandler(trapError);
    }
    ~ErrorTrap() {
        XSync(m_display, False);
        XSetErrorHandler(m_previous);
        g_trappedError = 0;
    }
    ErrorTrap(const ErrorTrap &) = delete;
    ErrorTrap &operator=(const ErrorTrap &) = delete;

    // The first error since the last call, once the server has answered everything sent.
    int sync() {
        XSync(m_display, False);
        const int error = g_trappedError;
        g_trappedError = 0;
        return error;
    }

private:
    Display *m_display;
    XErrorHandler m_previous;
};

namespace {

bool isLockKeysym(KeySym sym) {
    return sym == XK_Caps_Lock || sym == XK_Shift_Lock || sym == XK_Num_Lock ||
           sym == XK_Scroll_Lock;
}

// The server's keyboard map, fetched fresh: Xlib's own copy is never told of changes while
// Qt's xcb connection owns the event queue.
class Keymap {
public:
    explicit Keymap(Display *display)
        : m_xkb(XkbGetMap(display, XkbKeyTypesMask | XkbKeySymsMask | XkbModifierMapMask,
                          XkbUseCoreKbd)) {}
    ~Keymap() {
        if (m_xkb)
            XkbFreeKeyboard(m_xkb, 0, True);
    }
    Keymap(const Keymap &) = delete;
    Keymap &operator=(const Keymap &) = delete;

    bool valid() const { return m_xkb && m_xkb->map; }
    unsigned minKeycode() const { return m_xkb->min_key_code; }
    unsigned maxKeycode() const { return m_xkb->max_key_code; }
    unsigned modifiers(unsigned keycode) const { return m_xkb->map->modmap[keycode]; }
    int groups(unsigned keycode) const { return XkbKeyNumGroups(m_xkb, keycode); }

    // The group a key uses when the keyboard is in `group`, by the key's rule for groups it
    // does not have; -1 for a key without symbols.
    int groupOf(unsigned keycode, int group) const {
        const int count = groups(keycode);
        if (count == 0)
            return -1;
        if (group < count)
            return group;
        const unsigned info = XkbKeyGroupInfo(m_xkb, keycode);
        switch (XkbOutOfRangeGroupAction(info)) {
        case XkbRedirectIntoRange: {
            const int redirect = XkbOutOfRangeGroupNumber(info);
            return redirect < count ? redirect : 0;
        }
        case XkbClampIntoRange:
            return count - 1;
        default:
            return group % count;
        }
    }

    KeySym symbol(unsigned keycode, int group, int level) const {
        if (group < 0 || group >= groups(keycode) || level < 0 ||
            level >= XkbKeyGroupWidth(m_xkb, keycode, group))
            return NoSymbol;
        return XkbKeySymEntry(m_xkb, keycode, level, group);
    }

    // The level Shift alone selects on a key in `group`; 0 where Shift changes nothing.
    int shiftLevel(unsigned keycode, int group) const {
        const XkbKeyTypePtr type = XkbKeyKeyType(m_xkb, keycode, group);
        for (int i = 0; i < type->map_count; ++i) {
            const XkbKTMapEntryRec &entry = type->map[i];
            if (entry.active && entry.mods.mask == ShiftMask)
                return entry.level;
        }
        return 0;
    }

    // The key that carries `sym` (in the first group and unshifted if possible); 0 for none.
    unsigned keycodeOf(KeySym sym) const {
        for (int level = 0; level < 2; ++level)
            for (unsigned keycode = minKeycode(); keycode <= maxKeycode(); ++keycode)
                if (symbol(keycode, 0, level) == sym)
                    return keycode;
        for (unsigned keycode = minKeycode(); keycode <= maxKeycode(); ++keycode)
            for (int group = 1; group < groups(keycode); ++group)
                for (int level = 0; level < 2; ++level)
                    if (symbol(keycode, group, level) == sym)
                        return keycode;
        return 0;
    }

    // The modifier bits of the keys whose first symbol is `sym` (the NumLock bit, say).
    unsigned modifiersOf(KeySym sym) const {
        unsigned mask = 0;
        for (unsigned keycode = minKeycode(); keycode <= maxKeycode(); ++keycode)
            if (symbol(keycode, 0, 0) == sym)
                mask |= modifiers(keycode);
        return mask;
    }

    bool isModifierKey(unsigned keycode) const {
        return modifiers(keycode) != 0 && !isLockKeysym(symbol(keycode, 0, 0));
    }

private:
    XkbDescPtr m_xkb;
};

using KeySet = std::bitset<256>;

KeySet keysDown(Display *display) {
    char bits[32] = {};
    XQueryKeymap(display, bits);
    KeySet keys;
    for (unsigned keycode = 0; keycode < 256; ++keycode)
        if (bits[keycode / 8] & (1 << (keycode % 8)))
            keys.set(keycode);
    return keys;
}

// The keys held on the real keyboards: every slave keyboard but the XTest one, which carries
// synthesised keys (ours and other programs'). Nothing when the server cannot tell.
std::optional<KeySet> physicalKeysDown(Display *display) {
    int count = 0;
    XDeviceInfo *devices = XListInputDevices(display, &count);
    if (!devices)
        return std::nullopt;
    KeySet keys;
    bool known = false;
    for (int i = 0; i < count; ++i) {
        const XDeviceInfo &info = devices[i];
        if (info.use != IsXExtensionKeyboard || !info.name || std::strstr(info.name, "XTEST"))
            continue;
        XDevice *device = XOpenDevice(display, info.id);
        if (!device)
            continue;
        if (XDeviceState *state = XQueryDeviceState(display, device)) {
            XInputClass *entry = state->data;
            for (int c = 0; c < state->num_classes; ++c) {
                if (entry->c_class == KeyClass) {
                    const auto *keyState = reinterpret_cast<const XKeyState *>(entry);
                    for (unsigned keycode = 0; keycode < 256; ++keycode)
                        if (keyState->keys[keycode / 8] & (1 << (keycode % 8)))
                            keys.set(keycode);
                    known = true;
                }
                entry = reinterpret_cast<XInputClass *>(reinterpret_cast<char *>(entry) +
                                                        entry->length);
            }
            XFreeDeviceState(state);
        }
        XCloseDevice(display, device);
    }
    XFreeDeviceList(devices);
    if (!known)
        return std::nullopt;
    return keys;
}

void fakeKey(Display *display, unsigned keycode, bool down) {
    XTestFakeKeyEvent(display, keycode, down ? True : False, CurrentTime);
}

template <typename T> void wipe(std::basic_string<T> &text) {
    std::fill(text.begin(), text.end(), T(0));
    text.clear();
}

} // namespace

// The characters that the keyboard map lacks, bound to spare keycodes for the moment. A binding
// stays a little while after the typing: the receiving program reads the new map only when it
// gets to the change, and the binding must still be there then.
class X11GlobalKeys::Bindings {
public:
    explicit Bindings(Display *display) : m_display(display) {
        m_restore.setSingleShot(true);
        m_restore.setInterval(kBindingGrace);
        QObject::connect(&m_restore, &QTimer::timeout, [this] { restore(); });
    }
    ~Bindings() { restore(); }

    // The keycode bound to `sym` now, binding one if need be; 0 when there is no key to spare.
    // `keymap` is the map from before any binding of this typing, `avoid` the keys that must
    // keep their meaning.
    unsigned keycodeFor(KeySym sym, const Keymap &keymap, const KeySet &avoid) {
        if (const auto found = m_bound.find(sym); found != m_bound.end()) {
            touch(found->second);
            return found->second;
        }
        unsigned keycode = freeKeycode(keymap, avoid);
        if (keycode == 0) {
            if (m_order.empty())
                return 0;
            // Every spare key is taken: reuse the one used longest ago, once what was typed
            // with it has had the time to arrive.
            XSync(m_display, False);
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            keycode = m_order.front();
            m_order.erase(m_order.begin());
            std::erase_if(m_bound,
                          [keycode](const auto &entry) { return entry.second == keycode; });
        }
        if (!m_saved.contains(keycode)) {
            int width = 0;
            std::vector<KeySym> &saved = m_saved[keycode];
            if (KeySym *current = XGetKeyboardMapping(m_display, KeyCode(keycode), 1, &width)) {
                saved.assign(current, current + std::max(width, 0));
                XFree(current);
            }
        }
        std::vector<KeySym> syms(std::max<std::size_t>(m_saved[keycode].size(), 2), NoSymbol);
        syms[0] = syms[1] = sym; // the same with or without Shift
        XChangeKeyboardMapping(m_display, int(keycode), int(syms.size()), syms.data(), 1);
        XSync(m_display, False);
        m_bound[sym] = keycode;
        m_order.push_back(keycode);
        return keycode;
    }

    void typed() {
        if (!m_saved.empty())
            m_restore.start();
    }

    bool owns(unsigned keycode) const { return m_saved.contains(keycode); }

    // Forgets the bindings without a word to the server, whose connection is gone.
    void abandon() {
        m_restore.stop();
        m_saved.clear();
        m_bound.clear();
        m_order.clear();
    }

    // The keyboard map as it was.
    void restore() {
        m_restore.stop();
        if (m_saved.empty())
            return;
        ErrorTrap trap(m_display);
        for (auto &[keycode, syms] : m_saved) {
            if (syms.empty())
                syms.assign(2, NoSymbol);
            XChangeKeyboardMapping(m_display, int(keycode), int(syms.size()), syms.data(), 1);
        }
        m_saved.clear();
        m_bound.clear();
        m_order.clear();
    }

private:
    void touch(unsigned keycode) {
        std::erase(m_order, keycode);
        m_order.push_back(keycode);
    }

    // A key to bind: one without symbols first, else (rarely needed) one whose symbols can be
    // lent for the moment; never a modifier, a held key or one in `avoid`.
    unsigned freeKeycode(const Keymap &keymap, const KeySet &avoid) const {
        const KeySet down = keysDown(m_display);
        const auto usable = [&](unsigned keycode) {
            return keymap.modifiers(keycode) == 0 && !down.test(keycode) && !avoid.test(keycode) &&
                   !m_saved.contains(keycode);
        };
        for (unsigned keycode = keymap.maxKeycode(); keycode >= keymap.minKeycode(); --keycode)
            if (usable(keycode) && keymap.groups(keycode) == 0)
                return keycode;
        for (unsigned keycode = keymap.maxKeycode(); keycode >= keymap.minKeycode(); --keycode)
            if (usable(keycode))
                return keycode;
        return 0;
    }

    Display *m_display;
    QTimer m_restore;
    std::map<unsigned, std::vector<KeySym>> m_saved; // keycode → its symbols before binding
    std::unordered_map<KeySym, unsigned> m_bound;    // character keysym → keycode
    std::vector<unsigned> m_order;                   // bound keycodes, least recent first
};

X11GlobalKeys::X11GlobalKeys(_XDisplay *display)
    : m_display(display), m_root(DefaultRootWindow(display)),
      m_bindings(std::make_unique<Bindings>(display)) {
    int opcode = 0, error = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
    if (XkbQueryExtension(display, &opcode, &m_xkbEventBase, &error, &major, &minor) == False)
        m_xkbEventBase = -1;
    // A held key then comes as repeated presses without releases between them, so a shortcut
    // fires once however long its key is held, and typing starts on the real release.
    Bool supported = False;
    XkbSetDetectableAutoRepeat(display, True, &supported);
    m_detectableAutoRepeat = supported == True;
    m_refresh.setSingleShot(true);
    m_refresh.setInterval(100);
    QObject::connect(&m_refresh, &QTimer::timeout, [this] { refreshGrabs(); });
    if (QCoreApplication *app = QCoreApplication::instance())
        app->installNativeEventFilter(this);
}

X11GlobalKeys::~X11GlobalKeys() {
    for (std::u16string &text : m_pending)
        wipe(text);
    QCoreApplication *app = QCoreApplication::instance();
    if (!app) {
        // Qt's connection closed with the application: the server dropped our grabs with it.
        m_bindings->abandon();
        return;
    }
    app->removeNativeEventFilter(this);
    {
        ErrorTrap trap(m_display);
        for (const Grab &grab : m_grabs)
            ungrab(grab);
    }
    m_bindings.reset();
    XFlush(m_display);
}

void X11GlobalKeys::setHandler(Handler handler) {
    m_handler = std::move(handler);
}

bool X11GlobalKeys::grab(const Grab &grab, ErrorTrap &trap) {
    for (unsigned locks : x11keys::lockVariants(m_locks))
        XGrabKey(m_display, int(grab.keycode), grab.modifiers | locks, m_root, False, GrabModeAsync,
                 GrabModeAsync);
    if (trap.sync() == Success)
        return true;
    ungrab(grab); // only our own grabs go; another program's stay as they are
    trap.sync();
    return false;
}

void X11GlobalKeys::ungrab(const Grab &grab) {
    for (unsigned locks : x11keys::lockVariants(m_locks))
        XUngrabKey(m_display, int(grab.keycode), grab.modifiers | locks, m_root);
}

std::vector<KeyCombo> X11GlobalKeys::setCombos(const std::vector<KeyCombo> &combos) {
    m_combos.clear();
    for (const KeyCombo &combo : combos)
        if (std::find(m_combos.begin(), m_combos.end(), combo) == m_combos.end())
            m_combos.push_back(combo);
    if (m_combos.empty()) { // nothing is to type any more
        for (std::u16string &text : m_pending)
            wipe(text);
        m_pending.clear();
    }
    return applyCombos();
}

std::vector<KeyCombo> X11GlobalKeys::applyCombos() {
    ErrorTrap trap(m_display);
    const Keymap keymap(m_display);
    std::vector<Grab> wanted;
    std::vector<KeyCombo> refused;
    unsigned locks = LockMask;
    if (keymap.valid()) {
        locks |= keymap.modifiersOf(XK_Num_Lock) | keymap.modifiersOf(XK_Scroll_Lock);
        for (const KeyCombo &combo : m_combos) {
            const unsigned long sym = x11keys::keysymOfVk(combo.vk);
            const unsigned keycode = sym ? keymap.keycodeOf(sym) : 0;
            if (keycode == 0)
                refused.push_back(combo); // no key on this keyboard makes it
            else
                wanted.push_back({combo, keycode, x11keys::xModifiersOfMask(combo.modifierMask)});
        }
    } else {
        refused = m_combos;
    }
    locks &= ~(ShiftMask | ControlMask | Mod1Mask); // a lock never hides a shortcut modifier

    const auto same = [](const Grab &a, const Grab &b) {
        return a.keycode == b.keycode && a.modifiers == b.modifiers;
    };
    std::vector<Grab> kept;
    for (const Grab &old : m_grabs) {
        const bool stays =
            locks == m_locks &&
            std::any_of(wanted.begin(), wanted.end(), [&](const Grab &g) { return same(g, old); });
        if (stays)
            kept.push_back(old);
        else
            ungrab(old);
    }
    m_locks = locks;
    m_grabs.clear();
    for (const Grab &want : wanted) {
        const auto held =
            std::find_if(kept.begin(), kept.end(), [&](const Grab &g) { return same(g, want); });
        const bool duplicate = std::any_of(m_grabs.begin(), m_grabs.end(),
                                           [&](const Grab &g) { return same(g, want); });
        if (duplicate || held != kept.end() || grab(want, trap))
            m_grabs.push_back(want);
        else
            refused.push_back(want.combo);
    }
    XFlush(m_display);
    std::vector<KeyCombo> ordered;
    for (const KeyCombo &combo : m_combos)
        if (std::find(refused.begin(), refused.end(), combo) != refused.end())
            ordered.push_back(combo);
    return ordered;
}

void X11GlobalKeys::refreshGrabs() {
    if (!m_held.empty()) {
        m_refresh.start(); // the keyboard is ours while a grabbed key is down; later
        return;
    }
    applyCombos();
}

void X11GlobalKeys::call(int vk, bool down) {
    if (m_handler)
        m_handler(vk, down);
}

void X11GlobalKeys::keyPressed(unsigned keycode, unsigned state) {
    KeyCombo combo;
    if (const auto held = m_held.find(keycode); held != m_held.end()) {
        combo = held->second; // a repeat of the held key
    } else {
        const unsigned modifiers = state & ~m_locks & 0xff;
        const auto grab = std::find_if(m_grabs.begin(), m_grabs.end(), [&](const Grab &g) {
            return g.keycode == keycode && g.modifiers == modifiers;
        });
        if (grab == m_grabs.end())
            return; // another key pressed while the keyboard is grabbed: it goes nowhere
        combo = grab->combo;
        m_held[keycode] = combo;
    }
    for (int modifier : x11keys::modifierVksOfMask(combo.modifierMask))
        call(modifier, true);
    call(combo.vk, true);
}

void X11GlobalKeys::keyReleased(unsigned keycode) {
    const auto held = m_held.find(keycode);
    if (held == m_held.end())
        return;
    const KeyCombo combo = held->second;
    m_held.erase(held);
    call(combo.vk, false);
    const std::vector<int> modifiers = x11keys::modifierVksOfMask(combo.modifierMask);
    for (auto modifier = modifiers.rbegin(); modifier != modifiers.rend(); ++modifier)
        call(*modifier, false);
    if (m_held.empty()) {
        std::vector<std::u16string> pending;
        pending.swap(m_pending);
        for (std::u16string &text : pending) {
            typeNow(text);
            wipe(text);
        }
    }
}

bool X11GlobalKeys::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) {
    if (eventType != "xcb_generic_event_t" || !message)
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    const int type = event->response_type & 0x7f;
    if (type == XCB_KEY_PRESS || type == XCB_KEY_RELEASE) {
        const auto *key = static_cast<const xcb_key_press_event_t *>(message);
        // Only the grabbed keys come reported on the root window.
        if (key->event != m_root)
            return false;
        if (type == XCB_KEY_PRESS)
            keyPressed(key->detail, key->state);
        else
            keyReleased(key->detail);
        return true;
    }
    // A changed keyboard map may move the shortcut keys: grab them again where they are now,
    // once the changes have settled. The changes of our own bindings never touch them.
    if (m_xkbEventBase >= 0 && type == m_xkbEventBase) {
        const auto *bytes = static_cast<const unsigned char *>(message);
        const int xkbType = bytes[1];
        const bool ownBinding = xkbType == XkbMapNotify && bytes[17] > 0 &&
                                m_bindings->owns(bytes[16]) &&
                                m_bindings->owns(unsigned(bytes[16] + bytes[17] - 1));
        if ((xkbType == XkbNewKeyboardNotify || xkbType == XkbMapNotify) && !ownBinding &&
            !m_combos.empty())
            m_refresh.start();
    }
    return false;
}

void X11GlobalKeys::typeText(const std::u16string &text) {
    if (text.empty())
        return;
    if (!m_held.empty()) {
        m_pending.push_back(text); // the keyboard is grabbed until the trigger key goes up
        return;
    }
    typeNow(text);
}

void X11GlobalKeys::typeNow(const std::u16string &text) {
    Display *display = m_display;
    ErrorTrap trap(display);
    const Keymap keymap(display);
    if (!keymap.valid())
        return;
    XkbStateRec state{};
    XkbGetState(display, XkbUseCoreKbd, &state);

    // The modifiers held now would turn the characters into shortcuts of the receiving
    // program: they are released for the typing.
    const KeySet down = keysDown(display);
    const std::optional<KeySet> physicalBefore = physicalKeysDown(display);
    std::vector<unsigned> heldModifiers;
    for (unsigned keycode = keymap.minKeycode(); keycode <= keymap.maxKeycode(); ++keycode)
        if (down.test(keycode) && keymap.isModifierKey(keycode))
            heldModifiers.push_back(keycode);

    // Our own grabs would catch a typed character that matches one (Shift+A typed for "A").
    std::vector<Grab> suspended;
    for (const Grab &grab : m_grabs)
        if ((grab.modifiers & ~unsigned(ShiftMask)) == 0) {
            ungrab(grab);
            suspended.push_back(grab);
        }

    for (unsigned keycode : heldModifiers)
        fakeKey(display, keycode, false);
    const bool capsLock = (state.locked_mods & LockMask) != 0;
    if (capsLock)
        XkbLockModifiers(display, XkbUseCoreKbd, LockMask, 0);

    // The key for each symbol in the keyboard's current group, unshifted where possible;
    // modifier keys never type.
    struct Stroke {
        unsigned keycode;
        bool shift;
    };
    std::unordered_map<KeySym, Stroke> strokes;
    unsigned shiftKeycode = 0;
    KeySet keysInUse;
    for (int pass = 0; pass < 2; ++pass)
        for (unsigned keycode = keymap.minKeycode(); keycode <= keymap.maxKeycode(); ++keycode) {
            const int group = keymap.groupOf(keycode, state.group);
            if (group < 0)
                continue;
            if (keymap.modifiers(keycode) != 0) {
                const KeySym sym = keymap.symbol(keycode, group, 0);
                if (pass == 0 && shiftKeycode == 0 && (keymap.modifiers(keycode) & ShiftMask) &&
                    (sym == XK_Shift_L || sym == XK_Shift_R))
                    shiftKeycode = keycode;
                continue;
            }
            const int level = pass == 0 ? 0 : keymap.shiftLevel(keycode, group);
            if (pass == 1 && (level == 0 || shiftKeycode == 0))
                continue;
            const KeySym sym = keymap.symbol(keycode, group, level);
            if (sym != NoSymbol && !m_bindings->owns(keycode))
                strokes.emplace(sym, Stroke{keycode, pass == 1});
        }
    const std::u32string points = x11keys::codePoints(text);
    for (char32_t point : points)
        if (const auto stroke = strokes.find(x11keys::keysymOfChar(point)); stroke != strokes.end())
            keysInUse.set(stroke->second.keycode);
    for (const Grab &grab : m_grabs)
        keysInUse.set(grab.keycode);

    for (char32_t point : points) {
        const KeySym sym = x11keys::keysymOfChar(point);
        if (sym == 0)
            continue;
        if (const auto stroke = strokes.find(sym); stroke != strokes.end()) {
            if (stroke->second.shift)
                fakeKey(display, shiftKeycode, true);
            fakeKey(display, stroke->second.keycode, true);
            fakeKey(display, stroke->second.keycode, false);
            if (stroke->second.shift)
                fakeKey(display, shiftKeycode, false);
            continue;
        }
        // A character the keyboard lacks (Chinese, €, emoji): a spare key types it.
        if (const unsigned keycode = m_bindings->keycodeFor(sym, keymap, keysInUse)) {
            fakeKey(display, keycode, true);
            fakeKey(display, keycode, false);
        }
    }
    XSync(display, False);
    m_bindings->typed();

    if (capsLock)
        XkbLockModifiers(display, XkbUseCoreKbd, LockMask, LockMask);
    // Press again what the user still holds. A key held on a real keyboard before but let go
    // during the typing stays up (pressing it again would leave it stuck down); one held only
    // by synthesised input is put back as it was, for whatever holds it to release.
    const std::optional<KeySet> physicalAfter = physicalKeysDown(display);
    for (unsigned keycode : heldModifiers) {
        const bool wasPhysical = physicalBefore && physicalBefore->test(keycode);
        const bool isPhysical = physicalAfter && physicalAfter->test(keycode);
        if (!wasPhysical || isPhysical)
            fakeKey(display, keycode, true);
    }
    for (const Grab &grab : suspended)
        this->grab(grab, trap);
    XSync(display, False);
}

std::unique_ptr<GlobalKeyBackend> createGlobalKeyBackend() {
    if (!qGuiApp || QGuiApplication::platformName() != QLatin1String("xcb"))
        return std::make_unique<NoGlobalKeys>(); // Wayland, offscreen: no system-wide keys
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Display *display = x11 ? x11->display() : nullptr;
    if (!display)
        return std::make_unique<NoGlobalKeys>();
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display, &event, &error, &major, &minor))
        return std::make_unique<NoGlobalKeys>(); // nothing could type the texts
    int opcode = 0;
    major = XkbMajorVersion;
    minor = XkbMinorVersion;
    if (!XkbQueryExtension(display, &opcode, &event, &error, &major, &minor))
        return std::make_unique<NoGlobalKeys>();
    return std::make_unique<X11GlobalKeys>(display);
}

#elif !defined(_WIN32)

// A platform without a backend of its own.
std::unique_ptr<GlobalKeyBackend> createGlobalKeyBackend() {
    return std::make_unique<NoGlobalKeys>();
}

#endif
