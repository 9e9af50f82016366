#pragma once

#include <QString>

class MessageService;
class Clock;
class SettingsStore;

// What every window needs from outside: injected, so tests can supply their own.
struct Services {
    MessageService &messages;
    const Clock &clock;
    SettingsStore &settings;
    QString appPath; // the data folder
};
