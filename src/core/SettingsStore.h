#pragma once

#include <QString>
#include <memory>

class QSettings;

// The program's per-user settings store outside the data file: only the last login name.
class SettingsStore {
public:
    // The store of the desktop user (organisation "Ombrivo").
    SettingsStore();
    // A store in an INI file, for tests.
    explicit SettingsStore(const QString &iniFile);
    ~SettingsStore();

    QString lastUser() const;
    void setLastUser(const QString &name);
    void forgetLastUser();

private:
    std::unique_ptr<QSettings> m_settings;
};
