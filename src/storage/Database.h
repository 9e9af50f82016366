#pragma once

#include "storage/Crypto.h"
#include "storage/Sqlite.h"

#include <QString>
#include <functional>
#include <memory>
#include <stdexcept>

// A data file that cannot be used, with the reason a caller may act on.
class VaultError : public std::runtime_error {
public:
    enum class Kind {
        NotOurs,  // not a database with our key and tables: scrambled, damaged or foreign
        Damaged,  // our database, but shorter than its header says (truncated)
        Locked,   // another process holds the file
        NoCipher, // linked against a SQLite without encryption: refuse to write plaintext
        Io,       // missing, unreadable or not writable
    };
    VaultError(Kind kind, const QString &message);
    Kind kind() const { return m_kind; }

private:
    Kind m_kind;
};

// The one open data file. Holds SQLite's exclusive lock for as long as it is open, so no other
// process can read or write it. What is in it is the stores' business (see vault/Vault.h).
class Database {
public:
    static constexpr char kDatabaseKey[] = "quillmoss";

    static std::unique_ptr<Database> open(const QString &path);
    // Writes a new empty data file with the full schema (the template of a first start).
    static void create(const QString &path);

    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;
    Database(Database &&) = default;

    const QString &path() const { return m_path; }
    sql::Connection &connection() { return m_db; }
    void close();
    bool isOpen() const { return m_db.isOpen(); }

    // Writes a compacted copy of the whole database to `target` (a new file), same key.
    void exportTo(const QString &target);
    // Compacts the live file: a compacted copy is written beside it and renamed over it, then
    // reopened. On any failure the live file stays as it was and stays open.
    void compact(const QString &temporary);
    // Tests: runs in compact() right before the compacted file is opened in the live file's
    // place; throwing there stands for a reopen that fails.
    static inline std::function<void(const QString &path)> beforeReopenForTests;

    // Password hashing cost for new and changed passwords; tests lower it.
    void setKdfParams(const crypto::KdfParams &params) { m_kdf = params; }
    const crypto::KdfParams &kdfParams() const { return m_kdf; }

private:
    Database(QString path, sql::Connection db, QByteArray salt);
    QString m_path;
    sql::Connection m_db;
    QByteArray m_salt; // the file's first bytes: not secret, the key's other half
    crypto::KdfParams m_kdf = crypto::KdfParams::interactive();
};
