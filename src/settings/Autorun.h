#pragma once

#include <QString>

// Starting the program with the desktop session. On Linux an XDG autostart entry; on Windows
// the Run value named after the executable (the machine's, else the user's).
class Autorun {
public:
    // `autostartFolder` is where the desktop looks for autostart entries; empty: the user's.
    explicit Autorun(QString autostartFolder = {});

    // Writes or removes the entry; false when it could not be done.
    bool set(bool enabled, const QString &executable);
    bool isSet() const;
    QString entryPath() const;

private:
    QString m_folder;
};
