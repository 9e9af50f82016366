#pragma once

#include <QDate>
#include <QString>

// The per-user settings kept in the user's row, with the values a new user starts with.
struct UserSettings {
    double AutoBackup = 0;    // days between automatic backups; 0 = none
    QDate PriorBackupDate;    // day of the last automatic backup
    QString AutoBackupPath;   // full path of the automatic backup file
    bool AutoCompress = true; // compact while backing up
    double MinLockTime = 5;   // minutes in the tray before locking; 0 = never
    bool ShowPassword = true; // true: the record list masks passwords as "********"
    bool ClearClipboard = true;
    QString ShortcutUser = QStringLiteral("4|49");
    QString ShortcutPassword = QStringLiteral("4|50");
    QString ShortcutURL = QStringLiteral("4|51");
    bool WinRun = false;
    double TypeNameWidth = 1440; // column widths in twips
    double AccountNameWidth = 1440;
    double AccountIDWidth = 1440;
    double AccountPasswordWidth = 1440;
    double URLWidth = 1440;
    QString Custom1 = QStringLiteral("4|83"); // boss key
    int Custom2 = 1;                          // non-zero: closing the main window minimises it

    bool operator==(const UserSettings &) const = default;
};
