#pragma once

#include "users/Session.h"
#include "users/UserSettings.h"

#include <QDate>
#include <QStringList>
#include <optional>

class Database;

// The users of the data file: listing, registration, login and their settings rows.
class UserStore {
public:
    explicit UserStore(Database &database) : m_database(database) {}

    // Every user name in registration order.
    QStringList names();
    // Whether a user of that name exists; letter case is ignored, as in the login lookup.
    bool exists(const QString &name);

    // Writes the user's row with every setting at its default and his nine categories, all or
    // nothing. `appPath` is the data folder, home of the default backup file.
    void registerUser(const QString &name, const QString &password, const QDate &today,
                      const QString &appPath);

    // The session of `name` when `password` is his (exact comparison), else nothing.
    std::optional<Session> login(const QString &name, const QString &password);
    // Gives a locked session its key again when `password` is the user's login password.
    bool unlock(Session &session, const QString &password);
    // Whether `password` is the login password of `name`, without unwrapping anything.
    bool checkPassword(const QString &name, const QString &password);
    // New login password: a new verifier and the same data key wrapped anew, so every record
    // stays readable.
    void changePassword(const Session &session, const QString &newPassword);

    // Renames a user with his categories and records, all or nothing.
    void rename(const QString &oldName, const QString &newName);
    // Removes a user, his categories and his records, all or nothing.
    void remove(const QString &name);

    UserSettings settings(const QString &name);
    void saveSettings(const QString &name, const UserSettings &settings);

private:
    Database &m_database;
};
