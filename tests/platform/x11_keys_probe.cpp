// The system-wide keys under a real X server: a window of the test's own has the focus, xdotool
// presses the keys as a user would (through the server, as another program), and the window's
// text box shows what arrived. Run by test_x11_keys.sh, which starts the server.
#include "platform/GlobalKeyBackend.h"
#include "platform/x11/X11GlobalKeys.h"
#include "settings/ShortcutText.h"
#include "tray/GlobalKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProcess>
#include <QShortcut>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <cstring>
#include <vector>

// After Qt: Xlib's macros clash with Qt's names.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#undef KeyPress // QEvent::KeyPress below
#undef KeyRelease

namespace {

const QStringList kShortcuts = {"4|49", "4|50", "4|51", "4|83"};

// Passes everything on to the real backend and keeps what went through.
class RecordingBackend : public GlobalKeyBackend {
public:
    explicit RecordingBackend(GlobalKeyBackend &inner) : m_inner(inner) {}
    bool available() const override { return m_inner.available(); }
    void setHandler(Handler handler) override {
        if (!handler) {
            m_inner.setHandler({});
            return;
        }
        m_inner.setHandler([this, handler](int vk, bool down) {
            events.push_back({vk, down});
            return handler(vk, down);
        });
    }
    std::vector<KeyCombo> setCombos(const std::vector<KeyCombo> &combos) override {
        return m_inner.setCombos(combos);
    }
    void typeText(const std::u16string &text) override {
        ++typed;
        m_inner.typeText(text);
    }

    struct Event {
        int vk;
        bool down;
        bool operator==(const Event &) const = default;
    };
    std::vector<Event> events;
    int typed = 0;

private:
    GlobalKeyBackend &m_inner;
};

// The key presses a widget receives.
class KeyRecorder : public QObject {
public:
    struct Press {
        int key;
        Qt::KeyboardModifiers modifiers;
        QString text;
    };
    QList<Press> presses;

    int count(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const {
        int n = 0;
        for (const Press &press : presses)
            n += press.key == key && press.modifiers == modifiers;
        return n;
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            presses.append({key->key(), key->modifiers() & ~Qt::KeypadModifier, key->text()});
        }
        return false;
    }
};

} // namespace

class X11KeysProbe : public QObject {
    Q_OBJECT

private:
    bool xdo(const QStringList &args) {
        QProcess process;
        process.start(QStringLiteral("xdotool"), args);
        if (!process.waitForFinished(10000)) {
            process.kill();
            process.waitForFinished();
            qWarning() << "xdotool did not finish:" << args;
            return false;
        }
        if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
            qWarning() << "xdotool failed:" << args << process.readAllStandardError();
            return false;
        }
        return true;
    }

    // Everything pressed before has been through this program once F12 (grabbed by nobody)
    // reaches the text box.
    bool barrier() {
        const int before = f12Presses();
        if (!xdo({"key", "F12"}))
            return false;
        return QTest::qWaitFor([&] { return f12Presses() > before; }, 5000);
    }

    int f12Presses() const {
        return int(std::count_if(m_recorder.presses.begin(), m_recorder.presses.end(),
                                 [](const KeyRecorder::Press &p) { return p.key == Qt::Key_F12; }));
    }

    unsigned keycode(KeySym sym) const { return XKeysymToKeycode(m_checker, sym); }

    bool isDown(KeySym sym) const {
        char keys[32] = {};
        XQueryKeymap(m_checker, keys);
        const unsigned code = keycode(sym);
        return keys[code / 8] & (1 << (code % 8));
    }

    bool nothingDown() const {
        char keys[32] = {};
        XQueryKeymap(m_checker, keys);
        return std::all_of(std::begin(keys), std::end(keys), [](char c) { return c == 0; });
    }

    bool capsLockOn() const {
        XkbStateRec state{};
        XkbGetState(m_checker, XkbUseCoreKbd, &state);
        return state.locked_mods & LockMask;
    }

    bool numLockOn() const {
        unsigned mask = XkbKeysymToModifiers(m_checker, XK_Num_Lock);
        XkbStateRec state{};
        XkbGetState(m_checker, XkbUseCoreKbd, &state);
        return mask != 0 && (state.locked_mods & mask) == mask;
    }

    std::vector<KeySym> keymap() const {
        int min = 0, max = 0, width = 0;
        XDisplayKeycodes(m_checker, &min, &max);
        KeySym *syms = XGetKeyboardMapping(m_checker, KeyCode(min), max - min + 1, &width);
        std::vector<KeySym> copy(syms, syms + (max - min + 1) * width);
        XFree(syms);
        return copy;
    }

    bool typedWithoutModifiers(int from = 0) const {
        for (int i = from; i < m_recorder.presses.size(); ++i) {
            const KeyRecorder::Press &press = m_recorder.presses[i];
            if (!press.text.isEmpty() && press.key != Qt::Key_F12 &&
                (press.modifiers & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier))) {
                qWarning() << "typed with modifiers:" << press.text << press.modifiers;
                return false;
            }
        }
        return true;
    }

    std::unique_ptr<GlobalKeyBackend> m_backend;
    std::unique_ptr<RecordingBackend> m_recording;
    std::unique_ptr<GlobalKeys> m_keys;
    QWidget m_window;
    QLineEdit *m_edit = nullptr;
    KeyRecorder m_recorder;
    int m_boss = 0;
    int m_altA = 0;
    Display *m_checker = nullptr; // a connection of the test's own, another X client
    std::vector<KeySym> m_keymap;

private slots:
    void initTestCase() {
        m_backend = createGlobalKeyBackend();
        QVERIFY(m_backend->available());
        auto *x11 = dynamic_cast<X11GlobalKeys *>(m_backend.get());
        QVERIFY(x11);
        QVERIFY(x11->detectableAutoRepeat());
        m_recording = std::make_unique<RecordingBackend>(*m_backend);
        m_keys = std::make_unique<GlobalKeys>(*m_recording, [this] { ++m_boss; });
        m_keys->setShortcuts(kShortcuts);
        QCOMPARE(m_keys->unavailable(), QStringList());

        m_edit = new QLineEdit(&m_window);
        auto *layout = new QVBoxLayout(&m_window);
        layout->addWidget(m_edit);
        m_edit->installEventFilter(&m_recorder);
        // An Alt shortcut of the receiving program: typing while Alt is held would trigger it.
        auto *altA = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_A), &m_window);
        connect(altA, &QShortcut::activated, this, [this] { ++m_altA; });
        m_window.resize(400, 80);
        m_window.show();
        m_window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&m_window));
        m_edit->setFocus();
        QTRY_VERIFY(m_edit->hasFocus());

        m_checker = XOpenDisplay(nullptr);
        QVERIFY(m_checker);
        m_keymap = keymap();
        QVERIFY(nothingDown());
        QVERIFY(!capsLockOn());
        QVERIFY(barrier()); // the text box gets what is pressed
    }

    void cleanupTestCase() {
        m_keys.reset();
        if (m_checker)
            XCloseDisplay(m_checker);
    }

    void init() {
        m_keys->setShortcuts(kShortcuts);
        m_keys->SetPasteTexts("user42", "pa55", "https://example.com");
        m_edit->clear();
        m_recorder.presses.clear();
        m_recording->events.clear();
        m_recording->typed = 0;
        m_boss = 0;
        m_altA = 0;
    }

    void cleanup() {
        // Whatever a failed case left held goes up, so the next starts clean.
        xdo({"keyup", "Alt_L", "keyup", "Alt_R", "keyup", "1", "keyup", "2", "keyup", "s", "keyup",
             "Shift_L"});
        if (capsLockOn())
            xdo({"key", "Caps_Lock"});
        if (numLockOn())
            xdo({"key", "Num_Lock"});
        QTRY_VERIFY(nothingDown());
        // The spare keys lent to characters the keyboard lacks are given back.
        QTRY_VERIFY_WITH_TIMEOUT(keymap() == m_keymap, 5000);
    }

    void pasteTypesTheTextAndWithholdsTheKey_data() {
        QTest::addColumn<QString>("userId");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("altKey");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("vk");

        QTest::newRow("user ID, Alt+1") << "user42"
                                        << "pa55"
                                        << "https://example.com"
                                        << "Alt_L"
                                        << "1"
                                        << "user42" << 49;
        QTest::newRow("password, Alt+2") << "user42"
                                         << "pa55"
                                         << "https://example.com"
                                         << "Alt_L"
                                         << "2"
                                         << "pa55" << 50;
        QTest::newRow("web address, Alt+3") << "user42"
                                            << "pa55"
                                            << "https://例子.测试/a?b=1&c=~d#e"
                                            << "Alt_L"
                                            << "3"
                                            << "https://例子.测试/a?b=1&c=~d#e" << 51;
        QTest::newRow("Chinese") << "张三丰"
                                 << ""
                                 << ""
                                 << "Alt_L"
                                 << "1"
                                 << "张三丰" << 49;
        QTest::newRow("send-keys notation typed literally") << ""
                                                            << "+^%~(){}[]"
                                                            << ""
                                                            << "Alt_L"
                                                            << "2"
                                                            << "+^%~(){}[]" << 50;
        QTest::newRow("shifted symbols and quotes") << "!\"#$&'*,-./:;<=>?@\\_`|"
                                                    << ""
                                                    << ""
                                                    << "Alt_L"
                                                    << "1"
                                                    << "!\"#$&'*,-./:;<=>?@\\_`|" << 49;
        QTest::newRow("capitals, Latin-1, euro, emoji") << "Ab C é ß Ω € 😀 Zz9"
                                                        << ""
                                                        << ""
                                                        << "Alt_L"
                                                        << "1"
                                                        << "Ab C é ß Ω € 😀 Zz9" << 49;
        QTest::newRow("a missing character again and again") << "张张三张€€"
                                                             << ""
                                                             << ""
                                                             << "Alt_L"
                                                             << "1"
                                                             << "张张三张€€" << 49;
        QTest::newRow("characters of Alt shortcuts") << "aAaa"
                                                     << ""
                                                     << ""
                                                     << "Alt_L"
                                                     << "1"
                                                     << "aAaa" << 49;
        QTest::newRow("right Alt") << "user42"
                                   << ""
                                   << ""
                                   << "Alt_R"
                                   << "1"
                                   << "user42" << 49;
    }

    // Alt is still held while the text is typed, as a user's hand still is after the key.
    void pasteTypesTheTextAndWithholdsTheKey() {
        QFETCH(QString, userId);
        QFETCH(QString, password);
        QFETCH(QString, url);
        QFETCH(QString, altKey);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        QFETCH(int, vk);
        m_keys->SetPasteTexts(userId, password, url);
        QVERIFY(xdo({"keydown", altKey, "key", key}));
        QTRY_COMPARE(m_edit->text(), expected);
        QCOMPARE(m_recording->typed, 1);
        // The table saw Alt and the key go down and up, whichever Alt it was.
        const std::vector<RecordingBackend::Event> events = {
            {164, true}, {vk, true}, {vk, false}, {164, false}};
        QCOMPARE(m_recording->events, events);
        // Nothing typed reached the box as an Alt shortcut, and Alt is held again afterwards.
        QVERIFY(typedWithoutModifiers());
        QCOMPARE(m_altA, 0);
        QVERIFY(isDown(altKey == "Alt_L" ? XK_Alt_L : XK_Alt_R));
        QVERIFY(xdo({"keyup", altKey}));
        QVERIFY(barrier());
        QCOMPARE(m_edit->text(), expected);
        QVERIFY(!isDown(XK_Alt_L) && !isDown(XK_Alt_R));
    }

    void capsLockIsOffForTheTypingAndOnAgainAfterwards() {
        QVERIFY(xdo({"key", "Caps_Lock"}));
        QTRY_VERIFY(capsLockOn());
        m_keys->SetPasteTexts("AbC xY", "", "");
        QVERIFY(xdo({"keydown", "Alt_L", "key", "1"}));
        QTRY_COMPARE(m_edit->text(), QStringLiteral("AbC xY"));
        QVERIFY(capsLockOn());
        QVERIFY(xdo({"keyup", "Alt_L", "key", "Caps_Lock"}));
        QTRY_VERIFY(!capsLockOn());
    }

    void numLockDoesNotHideTheShortcuts() {
        QVERIFY(xdo({"key", "Num_Lock"}));
        QTRY_VERIFY(numLockOn());
        QVERIFY(xdo({"keydown", "Alt_L", "key", "2"}));
        QTRY_COMPARE(m_edit->text(), QStringLiteral("pa55"));
        QVERIFY(xdo({"keyup", "Alt_L", "key", "Num_Lock"}));
        QTRY_VERIFY(!numLockOn());
    }

    void altHeldAcrossTwoShortcuts() {
        // The second shortcut only works if Alt was pressed again after the first typing.
        QVERIFY(xdo({"keydown", "Alt_L", "key", "1"}));
        QTRY_COMPARE(m_edit->text(), QStringLiteral("user42"));
        QVERIFY(xdo({"key", "2"}));
        QTRY_COMPARE(m_edit->text(), QStringLiteral("user42pa55"));
        QVERIFY(xdo({"keyup", "Alt_L"}));
        QVERIFY(barrier());
        QCOMPARE(m_edit->text(), QStringLiteral("user42pa55"));
        QCOMPARE(m_recording->typed, 2);
    }

    void altReleasedBeforeTheKeyIsNotPressedAgain() {
        QVERIFY(xdo({"keydown", "Alt_L", "keydown", "1", "keyup", "Alt_L", "keyup", "1"}));
        QTRY_COMPARE(m_edit->text(), QStringLiteral("user42"));
        QVERIFY(barrier());
        QVERIFY(nothingDown());
        QCOMPARE(m_recorder.count(Qt::Key_F12), 1); // F12 without a stuck Alt
    }

    void emptyTextPassesTheKeyOn() {
        m_keys->SetPasteTexts("", "pa55", "https://example.com");
        QVERIFY(xdo({"keydown", "Alt_L", "key", "1", "keyup", "Alt_L"}));
        QTRY_COMPARE(m_recorder.count(Qt::Key_1, Qt::AltModifier), 1);
        QVERIFY(barrier());
        QCOMPARE(m_recording->typed, 0);
        QVERIFY(m_recording->events.empty());          // not grabbed at all
        QCOMPARE(m_edit->text(), QStringLiteral("1")); // what the box makes of Alt+1
        // The other shortcuts still act.
        QVERIFY(xdo({"keydown", "Alt_L", "key", "2"}));
        QTRY_COMPARE(m_edit->text(), QStringLiteral("1pa55"));
        QVERIFY(xdo({"keyup", "Alt_L"}));
    }

    void clearedTextsPassEveryKeyOn() {
        m_keys->clearPasteTexts();
        QVERIFY(xdo({"keydown", "Alt_L", "key", "1", "key", "2", "key", "3", "keyup", "Alt_L"}));
        QVERIFY(barrier());
        QCOMPARE(m_recorder.count(Qt::Key_1, Qt::AltModifier), 1);
        QCOMPARE(m_recorder.count(Qt::Key_2, Qt::AltModifier), 1);
        QCOMPARE(m_recorder.count(Qt::Key_3, Qt::AltModifier), 1);
        QCOMPARE(m_recording->typed, 0);
    }

    void keyWithoutAltPassesOn() {
        QVERIFY(xdo({"key", "1", "key", "s"}));
        QTRY_COMPARE(m_edit->text(), QStringLiteral("1s"));
        QCOMPARE(m_recording->typed, 0);
        QCOMPARE(m_boss, 0);
    }

    void holdingTheKeyTypesOnce() {
        m_keys->SetPasteTexts("once", "", "");
        // Held long enough for the server's auto-repeat (after 660 ms by default).
        QVERIFY(xdo({"keydown", "Alt_L", "keydown", "1", "sleep", "1.5", "keyup", "1"}));
        QTRY_COMPARE(m_edit->text(), QStringLiteral("once"));
        QVERIFY(barrier());
        QCOMPARE(m_edit->text(), QStringLiteral("once"));
        QCOMPARE(m_recording->typed, 1);
        int presses = 0, releases = 0;
        for (const RecordingBackend::Event &event : m_recording->events)
            if (event.vk == 49)
                (event.down ? presses : releases) += 1;
        QVERIFY2(presses >= 2, "the key was not repeated"); // repeats came as presses,
        QCOMPARE(releases, 1);                              // without releases between
        QVERIFY(xdo({"keyup", "Alt_L"}));
    }

    void bossKeyFiresOncePerPress() {
        QVERIFY(xdo({"keydown", "Alt_L", "key", "s", "keyup", "Alt_L"}));
        QTRY_COMPARE(m_boss, 1);
        QVERIFY(xdo(
            {"keydown", "Alt_L", "keydown", "s", "sleep", "1.5", "keyup", "s", "keyup", "Alt_L"}));
        QTRY_COMPARE(m_boss, 2);
        QVERIFY(barrier());
        QCOMPARE(m_boss, 2);
        QCOMPARE(m_edit->text(), QString()); // no "s" reached the box
        QCOMPARE(m_recording->typed, 0);
    }

    void typedCharacterOfAShiftShortcutIsNotCaught() {
        // Boss key Shift+A, and a text with capital A typed as Shift+a.
        m_keys->setShortcuts({"4|49", "4|50", "4|51", "1|65"});
        m_keys->SetPasteTexts("AaA", "", "");
        QVERIFY(xdo({"keydown", "Alt_L", "key", "1"}));
        QTRY_COMPARE(m_edit->text(), QStringLiteral("AaA"));
        QVERIFY(xdo({"keyup", "Alt_L"}));
        QVERIFY(barrier());
        QCOMPARE(m_boss, 0);
        // The Shift+A grab is back after the typing.
        QVERIFY(xdo({"keydown", "Shift_L", "key", "a", "keyup", "Shift_L"}));
        QTRY_COMPARE(m_boss, 1);
        QCOMPARE(m_edit->text(), QStringLiteral("AaA"));
    }

    void combinationAnotherProgramHoldsIsReported() {
        // Alt+3 is free while its text is empty; another program takes it meanwhile.
        m_keys->SetPasteTexts("user42", "pa55", "");
        const unsigned three = keycode(XK_3);
        XGrabKey(m_checker, int(three), Mod1Mask, DefaultRootWindow(m_checker), False,
                 GrabModeAsync, GrabModeAsync);
        XSync(m_checker, False);
        m_keys->SetPasteTexts("user42", "pa55", "https://example.com");
        QCOMPARE(m_keys->unavailable(), QStringList{GetShortcutName("4|51")});
        // The others still work.
        QVERIFY(xdo({"keydown", "Alt_L", "key", "1"}));
        QTRY_COMPARE(m_edit->text(), QStringLiteral("user42"));
        QVERIFY(xdo({"keyup", "Alt_L"}));

        XUngrabKey(m_checker, int(three), Mod1Mask, DefaultRootWindow(m_checker));
        XSync(m_checker, False);
        m_keys->SetPasteTexts("user42", "pa55", "https://example.com");
        QCOMPARE(m_keys->unavailable(), QStringList());
        QVERIFY(xdo({"keydown", "Alt_L", "key", "3"}));
        QTRY_COMPARE(m_edit->text(), QStringLiteral("user42https://example.com"));
        QVERIFY(xdo({"keyup", "Alt_L"}));
    }

    void typingWithoutATriggerIsAtOnce() {
        m_edit->setFocus();
        m_backend->typeText(u"直接 typed");
        QTRY_COMPARE(m_edit->text(), QStringLiteral("直接 typed"));
    }
};

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    // Without an X server (offscreen, Wayland) the keys are unavailable and nothing breaks.
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        const std::unique_ptr<GlobalKeyBackend> backend = createGlobalKeyBackend();
        if (backend->available() || dynamic_cast<X11GlobalKeys *>(backend.get()))
            return 1;
        backend->setHandler([](int, bool) { return true; });
        if (backend->setCombos({{4, 49}}) != std::vector<KeyCombo>{{4, 49}})
            return 1;
        backend->typeText(u"nothing");
        return 0;
    }
    X11KeysProbe probe;
    return QTest::qExec(&probe, argc, argv);
}

#include "x11_keys_probe.moc"
