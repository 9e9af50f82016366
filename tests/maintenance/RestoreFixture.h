#pragma once

#include "TestFiles.h"
#include "VaultFixture.h"

#include "maintenance/Backup.h"
#include "maintenance/Restore.h"
#include "records/CategoryStore.h"
#include "records/RecordStore.h"
#include "storage/Schema.h"
#include "storage/clsSimpleXOR.h"
#include "users/Session.h"
#include "users/UserSettings.h"
#include "vault/DataFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QRandomGenerator>
#include <functional>
#include <map>
#include <ostream>
#include <sqlite3.h>
#include <stdexcept>
#include <vector>

// A live data file with four users and a backup of it taken before some of them changed their
// data. bob and o'brien are the users restored from the backup; alice and d'arcy receive them.
namespace restore {

inline const QString kAlice = QStringLiteral("alice");
inline const QString kBob = QStringLiteral("bob");
inline const QString kOBrien = QStringLiteral("o'brien");
inline const QString kDArcy = QStringLiteral("d'arcy");

inline QString passwordOf(const QString &user) {
    if (user == kAlice)
        return QStringLiteral("alice-pw1");
    if (user == kBob)
        return QStringLiteral("bob-pass1");
    if (user == kOBrien)
        return QStringLiteral("o'brien's pw");
    return QStringLiteral("darcy-pw1");
}
// bob's password in the live file since the backup was taken.
inline const QString kBobLivePassword = QStringLiteral("bob-later-pw");

using testfiles::readAll;
using testfiles::writeAll;
// Scrambling and unscrambling are the same exclusive-or.
inline QByteArray xorred(QByteArray bytes) {
    clsSimpleXOR().EncryptByte(bytes, QString::fromLatin1(datafile::kScrambleKey));
    return bytes;
}

// What a file or folder looks like from outside: whether it is there, its bytes and its time.
struct FileState {
    bool exists = false;
    bool isDir = false;
    QByteArray bytes;
    QDateTime modified;
    bool operator==(const FileState &) const = default;
};
inline FileState stateOf(const QString &path) {
    const QFileInfo info(path);
    return {info.exists(), info.isDir(), info.isFile() ? readAll(path) : QByteArray(),
            info.exists() ? info.lastModified() : QDateTime()};
}

// A record as its owner reads it, the password in the clear.
inline QStringList plain(RecordStore &store, const Record &r) {
    return {r.TypeName,        r.AccountName, r.AccountPY, r.AccountID,
            store.password(r), r.RegDate,     r.URL,       r.Remarks};
}

inline UserSettings settingsOf(const QString &user) {
    UserSettings s;
    if (user == kBob) {
        s.AutoBackup = 3;
        s.PriorBackupDate = QDate(2025, 2, 28);
        s.AutoBackupPath = QStringLiteral("/backups/bob's.dat");
        s.AutoCompress = false;
        s.MinLockTime = 12;
        s.ShowPassword = false;
        s.ClearClipboard = false;
        s.ShortcutUser = QStringLiteral("2|112");
        s.ShortcutPassword = QStringLiteral("3|113");
        s.ShortcutURL = QString();
        s.WinRun = true;
        s.TypeNameWidth = 1000;
        s.AccountNameWidth = 2000;
        s.AccountIDWidth = 1100;
        s.AccountPasswordWidth = 1200;
        s.URLWidth = 1300;
        s.Custom1 = QStringLiteral("6|66");
        s.Custom2 = 0;
    } else if (user == kOBrien) {
        s.AutoBackup = 30;
        s.PriorBackupDate = QDate(2024, 1, 1);
        s.MinLockTime = 0;
        s.Custom1 = QString();
    } else {
        s.AutoBackup = 7;
        s.PriorBackupDate = QDate(2026, 12, 1);
        s.AutoBackupPath = QStringLiteral("/backups/") + user + QStringLiteral(".dat");
        s.MinLockTime = 2;
    }
    return s;
}

struct RestoreFixture : VaultFixture {
    QString backupPath = folder.filePath(QStringLiteral("备份 O'Neil.dat"));
    QString dataFolder = folder.path();
    QString workFolder = folder.filePath(QStringLiteral("$Restore"));

    // The backup's view of the restored users, and every user's state right after it.
    QList<Category> backupCategories(const QString &user) const { return m_categories.at(user); }
    QList<QStringList> backupRecords(const QString &user) const { return m_records.at(user); }
    QList<QByteArray> backupCiphertexts(const QString &user) const {
        return m_ciphertexts.at(user);
    }

    RestoreFixture() {
        for (const QString &user : {kAlice, kBob, kOBrien, kDArcy}) {
            addUser(user, passwordOf(user));
            vault->users().saveSettings(user, settingsOf(user));
        }
        fill();
        for (const QString &user : {kAlice, kBob, kOBrien, kDArcy})
            snapshot(user);
        QString why;
        if (!BackupDatabase(*vault, backupPath, true, &why))
            throw std::runtime_error("no backup: " + why.toStdString());
        // Since the backup bob changed his password and added a record; d'arcy has nothing.
        Session bob = login(kBob, passwordOf(kBob));
        vault->records(bob).add({QStringLiteral("银行帐号"),
                                 QStringLiteral("备份之后"),
                                 QStringLiteral("later"),
                                 QStringLiteral("later-pw"),
                                 {},
                                 {},
                                 {}});
        vault->users().changePassword(bob, kBobLivePassword);
        vault->connection().exec("DELETE FROM AccountType WHERE UserName = 'd''arcy'");
        vault->connection().exec("DELETE FROM AccountData WHERE UserName = 'd''arcy'");
    }

    QList<Category> categories(const QString &user) {
        QList<Category> result;
        for (const Category &c : vault->categories(user).list())
            result << c;
        return result;
    }
    // The user's records, read through a fresh login.
    QList<QStringList> records(const QString &user, const QString &password) {
        Session session = login(user, password);
        RecordStore store = vault->records(session);
        QList<QStringList> result;
        for (const Record &r : store.all())
            result << plain(store, r);
        return result;
    }
    QList<QByteArray> ciphertexts(const QString &user) { return ciphertextsIn(*vault, user); }
    static QList<QByteArray> ciphertextsIn(Vault &from, const QString &user) {
        sql::Statement query = from.connection().prepare(
            "SELECT AccountPassword FROM AccountData WHERE UserName = ?1 ORDER BY rowid");
        query.bind(1, user);
        QList<QByteArray> result;
        while (query.step())
            result << query.blob(0);
        return result;
    }
    // Every row of the other users, for "untouched" checks.
    QStringList rowsExcept(const QString &user) {
        QStringList rows;
        for (const char *select :
             {"SELECT UserName || '|' || UserPassword || '|' || hex(WrappedKey) || '|' ||"
              " MinLockTime || '|' || Custom1 FROM sysuser WHERE UserName <> ?1 ORDER BY rowid",
              "SELECT UserName || '|' || TypeName || '|' || icoIndex FROM AccountType"
              " WHERE UserName <> ?1 ORDER BY rowid",
              "SELECT UserName || '|' || TypeName || '|' || AccountName || '|' ||"
              " hex(AccountPassword) FROM AccountData WHERE UserName <> ?1 ORDER BY rowid"}) {
            sql::Statement query = vault->connection().prepare(select);
            query.bind(1, user);
            while (query.step())
                rows << query.text(0);
        }
        return rows;
    }
    // The unscrambled backup, written to a file of its own (a valid data file as it is).
    QString unscrambledCopy(const QString &name) {
        const QString path = folder.filePath(name);
        writeAll(path, xorred(readAll(backupPath)));
        return path;
    }

private:
    void add(const Session &s, const char *type, const char *name, const char *id,
             const char *password, const char *date, const char *url, const char *remarks) {
        vault->records(s).add({QString::fromUtf8(type), QString::fromUtf8(name),
                               QString::fromUtf8(id), QString::fromUtf8(password),
                               QString::fromUtf8(date), QString::fromUtf8(url),
                               QString::fromUtf8(remarks)});
    }
    void fill() {
        Session alice = login(kAlice, passwordOf(kAlice));
        vault->categories(kAlice).add({QStringLiteral("旧分类"), 17});
        add(alice, "旧分类", "alice 的旧记录", "alice", "old-pw", "2010-01-01", "", "");
        add(alice, "其它", "Alice's mail", "a@example", "mail-pw", "", "https://a.example", "");

        // bob's categories differ from the nine he started with: one gone, three of his own
        // with icons out of the usual order.
        Session bob = login(kBob, passwordOf(kBob));
        CategoryStore bobTypes = vault->categories(kBob);
        bobTypes.remove(QStringLiteral("游戏帐号"));
        bobTypes.add({QStringLiteral("工作"), 14});
        bobTypes.add({QStringLiteral("Bob's 家"), 0});
        bobTypes.add({QStringLiteral("云服务"), 5});
        add(bob, "工作", "公司邮箱", "bob@corp", "corp-pw", "2011-03-05", "https://corp.example",
            "it's \"quoted\"");
        add(bob, "Bob's 家", "路由器", "admin", "路由密码'1", "", "http://192.168.0.1", "");
        add(bob, "银行帐号", "招商银行", "6225 0000", "bank-pw", "2009-12-31", "", "多行\n备注");
        add(bob, "其它", "空密码", "nobody", "", "", "", "");

        Session obrien = login(kOBrien, passwordOf(kOBrien));
        vault->categories(kOBrien).add({QStringLiteral("O'Reilly's"), 12});
        add(obrien, "O'Reilly's", "Safari", "o'brien", "it's-a-secret", "2012-06-01",
            "https://oreilly.example", "");

        Session darcy = login(kDArcy, passwordOf(kDArcy));
        add(darcy, "网站帐号", "darcy 网站", "darcy", "darcy-site", "", "", "");
    }
    void snapshot(const QString &user) {
        m_categories[user] = categories(user);
        m_records[user] = records(user, passwordOf(user));
        m_ciphertexts[user] = ciphertexts(user);
    }

    std::map<QString, QList<Category>> m_categories;
    std::map<QString, QList<QStringList>> m_records;
    std::map<QString, QList<QByteArray>> m_ciphertexts;
};

// Files chosen for a restore that are no backup. Each writes its file (or folder, or nothing)
// at `path` and may use the fixture's real backup.
struct BadBackup {
    const char *name;
    std::function<void(RestoreFixture &, const QString &path)> make;
    const char *says; // how the refusal begins
};

// A database of another program: without a key it is plain SQLite, with one it is encrypted.
inline QByteArray foreignDatabase(RestoreFixture &f, const QByteArray &key) {
    const QString path = f.folder.filePath(QStringLiteral("foreign-%1.db").arg(key.size()));
    QFile::remove(path);
    sqlite3 *db = nullptr;
    bool ok = sqlite3_open(path.toUtf8().constData(), &db) == SQLITE_OK;
    if (ok && !key.isEmpty())
        ok = sqlite3_key(db, key.constData(), int(key.size())) == SQLITE_OK;
    ok = ok && sqlite3_exec(db, "CREATE TABLE notes (body TEXT); INSERT INTO notes VALUES ('hi')",
                            nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    const QByteArray bytes = readAll(path);
    if (!ok || bytes.startsWith("SQLite format 3") != key.isEmpty())
        throw std::runtime_error("cannot write the foreign database");
    return bytes;
}

inline void PrintTo(const BadBackup &b, std::ostream *os) {
    *os << b.name;
}

inline std::vector<BadBackup> badBackups() {
    return {
        {"missing", [](RestoreFixture &, const QString &) {}, "备份文件不存在"},
        {"empty", [](RestoreFixture &, const QString &p) { writeAll(p, {}); }, "备份文件是空的"},
        {"one byte", [](RestoreFixture &, const QString &p) { writeAll(p, "S"); },
         "所选文件不是有效的备份文件,或已损坏"},
        {"truncated to half",
         [](RestoreFixture &f, const QString &p) {
             const QByteArray whole = readAll(f.backupPath);
             writeAll(p, whole.left(whole.size() / 2));
         },
         "所选文件不是有效的备份文件,或已损坏"},
        {"truncated within the first page",
         [](RestoreFixture &f, const QString &p) { writeAll(p, readAll(f.backupPath).left(700)); },
         "所选文件不是有效的备份文件,或已损坏"},
        {"truncated to its first page",
         [](RestoreFixture &f, const QString &p) {
             sql::Statement pageSize = f.vault->connection().prepare("PRAGMA page_size");
             if (!pageSize.step())
                 throw std::runtime_error("no page size");
             writeAll(p, readAll(f.backupPath).left(pageSize.integer(0)));
         },
         "所选文件不是有效的备份文件,或已损坏"},
        {"all but the last byte",
         [](RestoreFixture &f, const QString &p) { writeAll(p, readAll(f.backupPath).chopped(1)); },
         "所选文件不是有效的备份文件,或已损坏"},
        {"random bytes",
         [](RestoreFixture &, const QString &p) {
             QByteArray bytes(16384, Qt::Uninitialized);
             QRandomGenerator random(20261210);
             for (char &c : bytes)
                 c = char(random.bounded(256));
             writeAll(p, bytes);
         },
         "所选文件不是有效的备份文件,或已损坏"},
        {"a data file that is not scrambled",
         [](RestoreFixture &f, const QString &p) { writeAll(p, xorred(readAll(f.backupPath))); },
         "所选文件不是有效的备份文件,或已损坏"},
        {"a plain SQLite file",
         [](RestoreFixture &f, const QString &p) { writeAll(p, foreignDatabase(f, {})); },
         "所选文件不是有效的备份文件,或已损坏"},
        {"a plain SQLite file, scrambled",
         [](RestoreFixture &f, const QString &p) { writeAll(p, xorred(foreignDatabase(f, {}))); },
         "所选文件不是有效的备份文件,或已损坏"},
        {"an encrypted database with another key",
         [](RestoreFixture &f, const QString &p) {
             writeAll(p, foreignDatabase(f, "not-quillmoss"));
         },
         "所选文件不是有效的备份文件,或已损坏"},
        {"an encrypted database with another key, scrambled",
         [](RestoreFixture &f, const QString &p) {
             writeAll(p, xorred(foreignDatabase(f, "not-quillmoss")));
         },
         "所选文件不是有效的备份文件,或已损坏"},
        {"our key but other tables, scrambled",
         [](RestoreFixture &f, const QString &p) {
             writeAll(p, xorred(foreignDatabase(f, Vault::kDatabaseKey)));
         },
         "所选文件不是有效的备份文件,或已损坏"},
        {"a folder", [](RestoreFixture &, const QString &p) { QDir().mkpath(p); },
         "所选的是文件夹,不是备份文件"},
    };
}

} // namespace restore
