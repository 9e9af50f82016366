#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <stdexcept>

class Session;
class Vault;

// A backup file opened for restoring one of its users. The chosen file is only ever read: the
// work happens on a private unscrambled copy in a folder of the data folder, which goes away
// with this object (and, after a crash, at the next start).
class BackupFile {
public:
    class Error : public std::runtime_error {
    public:
        using std::runtime_error::runtime_error;
    };

    // Throws Error with a clear message when the file is missing, empty, damaged, not
    // scrambled, or a database of another kind.
    static std::unique_ptr<BackupFile> open(const QString &backupPath, const QString &dataFolder);
    ~BackupFile();

    QStringList users();
    // Whether `password` is the login password `user` had when the backup was made.
    bool checkPassword(const QString &user, const QString &password);
    // Replaces the session user's categories and records, and his settings when
    // `replaceSettings`, by those of `backupUser`, all in one transaction. Account passwords are
    // decrypted with the backup user's key and encrypted anew with the session's.
    void restoreInto(Vault &live, const Session &session, const QString &backupUser,
                     const QString &password, bool replaceSettings);

private:
    BackupFile(QString folder, std::unique_ptr<Vault> vault);
    QString m_folder;
    std::unique_ptr<Vault> m_vault;
};
