#pragma once

#include "core/Clipboard.h"
#include "core/Clock.h"
#include "core/FileDialogs.h"
#include "core/MessageService.h"
#include "core/Services.h"
#include "core/SettingsStore.h"
#include "core/TrayIcon.h"
#include "platform/GlobalKeyBackend.h"

#include <QList>
#include <QTemporaryDir>
#include <deque>
#include <functional>

// Records every message box instead of showing it, and answers questions from a queue
// (Yes when the queue is empty).
class RecordingMessageService : public MessageService {
public:
    struct Shown {
        Icon icon;
        QString title;
        QString text;
    };

    Answer show(QObject *, Icon icon, const QString &title, const QString &text,
                bool yesNo) override {
        shown.append({icon, title, text});
        if (onShow)
            onShow(shown.last());
        if (!yesNo)
            return Answer::Ok;
        if (answers.empty())
            return Answer::Yes;
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    QStringList texts() const {
        QStringList result;
        for (const Shown &message : shown)
            result << message.text;
        return result;
    }
    QString last() const { return shown.isEmpty() ? QString() : shown.last().text; }

    QList<Shown> shown;
    std::deque<Answer> answers;
    // Runs as each message is shown, while the code that shows it waits.
    std::function<void(const Shown &)> onShow;
};

class MemoryClipboard : public Clipboard {
public:
    void setText(const QString &text) override {
        m_text = text;
        secret = false;
    }
    void setSecretText(const QString &text) override {
        m_text = text;
        secret = true;
    }
    bool secret = false;
    QString text() const override { return m_text; }
    void clear() override { m_text.clear(); }

private:
    QString m_text;
};

// Records what would have been opened.
class RecordingDesktop : public Desktop {
public:
    bool open(const QString &target) override {
        opened << target;
        return true;
    }
    QStringList opened;
};

// A notification area that is there (or not) and remembers what it shows.
class FakeTrayIcon : public TrayIcon {
public:
    bool isAvailable() const override { return available; }
    void show(const QIcon &, const QString &text) override {
        visible = true;
        tip = text;
    }
    void hide() override { visible = false; }
    bool isVisible() const override { return visible; }
    void setMenu(QMenu *m) override { menu = m; }
    void click() { emit leftClicked(); }

    bool available = true;
    bool visible = false;
    QString tip;
    QMenu *menu = nullptr;
};

// Answers file dialogs from a queue (the empty text when it runs dry, as a cancel would).
class QueuedFileDialogs : public FileDialogs {
public:
    QString ShowOpenDialog(QObject *, const QString &filter, const QString &folder,
                           const QString &title) override {
        asked << QStringList{QStringLiteral("open"), filter, folder, QString(), title};
        return next();
    }
    QString ShowSaveDialog(QObject *, const QString &filter, const QString &folder,
                           const QString &name, const QString &title) override {
        asked << QStringList{QStringLiteral("save"), filter, folder, name, title};
        return next();
    }
    QString next() {
        if (answers.empty())
            return {};
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<QString> answers;
    QList<QStringList> asked;
};

// System-wide keys without a desktop: records what would be grabbed and typed, and lets a test
// press keys.
class FakeGlobalKeys : public GlobalKeyBackend {
public:
    bool available() const override { return isAvailable; }
    void setHandler(Handler h) override { handler = std::move(h); }
    std::vector<KeyCombo> setCombos(const std::vector<KeyCombo> &c) override {
        combos = c;
        return {};
    }
    void typeText(const std::u16string &text) override { typed << QString::fromStdU16String(text); }
    // Presses and releases modifier + key; returns whether the key-down was withheld.
    bool press(int modifier, int key) {
        if (!handler)
            return false;
        handler(modifier, true);
        const bool withheld = handler(key, true);
        handler(key, false);
        handler(modifier, false);
        return withheld;
    }
    bool isAvailable = true;
    Handler handler;
    std::vector<KeyCombo> combos;
    QStringList typed;
};

// A temporary data folder with its own settings file, a fixed date and recorded messages.
struct TestEnvironment {
    QTemporaryDir folder;
    RecordingMessageService messages;
    FixedClock clock{QDate(2026, 12, 10)};
    SettingsStore settings{folder.filePath(QStringLiteral("settings.ini"))};

    MemoryClipboard clipboard;
    RecordingDesktop desktop;
    FakeTrayIcon tray;
    QueuedFileDialogs fileDialogs;
    FakeGlobalKeys globalKeys;

    Services services() {
        return Services{messages, clock,       settings,   clipboard,    desktop,
                        tray,     fileDialogs, globalKeys, folder.path()};
    }
    QString dataFile() const { return folder.filePath(QStringLiteral("SystemData.dat")); }
};
