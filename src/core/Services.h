#pragma once

#include <QString>

class MessageService;
class Clock;
class SettingsStore;
class Clipboard;
class Desktop;
class TrayIcon;
class FileDialogs;
class GlobalKeyBackend;

// What every window needs from outside: injected, so tests can supply their own.
struct Services {
    MessageService &messages;
    const Clock &clock;
    SettingsStore &settings;
    Clipboard &clipboard;
    Desktop &desktop;
    TrayIcon &tray;
    FileDialogs &fileDialogs;
    GlobalKeyBackend &globalKeys;
    QString appPath; // the data folder
};
