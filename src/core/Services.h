#pragma once

#include <QString>

class MessageService;
class Clock;
class SettingsStore;
class Clipboard;
class Desktop;

// What every window needs from outside: injected, so tests can supply their own.
struct Services {
    MessageService &messages;
    const Clock &clock;
    SettingsStore &settings;
    Clipboard &clipboard;
    Desktop &desktop;
    QString appPath; // the data folder
};
