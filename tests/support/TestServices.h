#pragma once

#include "core/Clipboard.h"
#include "core/Clock.h"
#include "core/MessageService.h"
#include "core/Services.h"
#include "core/SettingsStore.h"

#include <QList>
#include <QTemporaryDir>
#include <deque>

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
};

class MemoryClipboard : public Clipboard {
public:
    void setText(const QString &text) override { m_text = text; }
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

// A temporary data folder with its own settings file, a fixed date and recorded messages.
struct TestEnvironment {
    QTemporaryDir folder;
    RecordingMessageService messages;
    FixedClock clock{QDate(2026, 12, 10)};
    SettingsStore settings{folder.filePath(QStringLiteral("settings.ini"))};

    MemoryClipboard clipboard;
    RecordingDesktop desktop;

    Services services() {
        return Services{messages, clock, settings, clipboard, desktop, folder.path()};
    }
    QString dataFile() const { return folder.filePath(QStringLiteral("SystemData.dat")); }
};
