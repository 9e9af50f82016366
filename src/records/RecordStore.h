#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

class Database;
class Session;

namespace sql {
class Connection;
}

// One account record. The password stays sealed under the user's data key; the session
// decrypts it only when it is shown, copied or typed.
struct Record {
    qint64 id = 0; // the row's identity in the data file
    QString TypeName;
    QString AccountName;
    QString AccountPY;
    QString AccountID;
    QByteArray AccountPassword;
    QString RegDate; // "yyyy-mm-dd" or empty
    QString URL;
    QString Remarks;
};

// What the record editor writes; the store computes the pinyin columns and seals the password.
struct RecordInput {
    QString TypeName;
    QString AccountName;
    QString AccountID;
    QString Password;
    QString RegDate;
    QString URL;
    QString Remarks;
};

// The few columns the record list shows, plus the text the quick search looks in.
struct ListEntry {
    qint64 id = 0;
    QString TypeName;
    QString AccountName;
    QString AccountID;
    QString URL;
    QByteArray AccountPassword;
    // Lower-case name, AccountPY, initials and full pinyin, separated by a character nobody
    // types, so that a typed text never matches across two of them.
    QString searchText;
};

// Exact-match search over several fields; empty fields are not compared.
struct FindCriteria {
    QString TypeName;
    QString AccountName;
    QString AccountID;
    QString RegDate; // already in the stored form
    QString URL;
};

// The records of the session's user.
class RecordStore {
public:
    RecordStore(Database &database, const Session &session)
        : m_database(database), m_session(session) {}

    qint64 add(const RecordInput &input);
    void update(qint64 id, const RecordInput &input);
    // Removes exactly that record of this user.
    bool remove(qint64 id);
    std::optional<Record> get(qint64 id);

    // Whether another record of this user (not `exceptId`) has this category, name and ID.
    bool keyTaken(const QString &typeName, const QString &accountName, const QString &accountId,
                  qint64 exceptId = 0);

    std::vector<ListEntry> list();
    std::vector<Record> all();
    std::vector<qint64> find(const FindCriteria &criteria);

    QString password(const QByteArray &sealed) const;
    QString password(const Record &record) const { return password(record.AccountPassword); }

    // Computes the quick-search keys of records written before they existed.
    static void fillSearchKeys(sql::Connection &db);

private:
    Database &m_database;
    const Session &m_session;
};

QString searchTextOf(const QString &accountName, const QString &accountPY, const QString &initials,
                     const QString &pinyin);
