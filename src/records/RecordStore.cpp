#include "records/RecordStore.h"

#include "core/SearchKeys.h"
#include "storage/Database.h"
#include "users/Session.h"

namespace {

constexpr char16_t kSeparator = u'\x1f';

const char *const kRecordColumns = "rowid, TypeName, AccountName, AccountPY, AccountID,"
                                   " AccountPassword, RegDate, URL, Remarks";

Record readRecord(const sql::Statement &row) {
    return {row.integer(0), row.text(1), row.text(2), row.text(3), row.text(4),
            row.blob(5),    row.text(6), row.text(7), row.text(8)};
}

} // namespace

QString searchTextOf(const QString &accountName, const QString &accountPY, const QString &initials,
                     const QString &pinyin) {
    return accountName.toLower() + kSeparator + accountPY.toLower() + kSeparator + initials +
           kSeparator + pinyin;
}

qint64 RecordStore::add(const RecordInput &in) {
    const SearchKeys keys = searchKeysFor(in.AccountName);
    sql::Statement insert = m_database.connection().prepare(
        "INSERT INTO AccountData (UserName, TypeName, AccountName, AccountPY, AccountID,"
        " AccountPassword, RegDate, URL, Remarks, SearchPinyin, SearchInitials)"
        " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11)");
    insert.bind(1, m_session.userName())
        .bind(2, in.TypeName)
        .bind(3, in.AccountName)
        .bind(4, GetAccountPY(in.AccountName))
        .bind(5, in.AccountID)
        .bind(6, m_session.encryptPassword(in.Password))
        .bind(7, in.RegDate)
        .bind(8, in.URL)
        .bind(9, in.Remarks)
        .bind(10, keys.pinyin)
        .bind(11, keys.initials);
    insert.run();
    return m_database.connection().lastInsertId();
}

void RecordStore::update(qint64 id, const RecordInput &in) {
    const SearchKeys keys = searchKeysFor(in.AccountName);
    sql::Statement update = m_database.connection().prepare(
        "UPDATE AccountData SET TypeName = ?1, AccountName = ?2, AccountPY = ?3, AccountID = ?4,"
        " AccountPassword = ?5, RegDate = ?6, URL = ?7, Remarks = ?8, SearchPinyin = ?9,"
        " SearchInitials = ?10 WHERE rowid = ?11 AND UserName = ?12");
    update.bind(1, in.TypeName)
        .bind(2, in.AccountName)
        .bind(3, GetAccountPY(in.AccountName))
        .bind(4, in.AccountID)
        .bind(5, m_session.encryptPassword(in.Password))
        .bind(6, in.RegDate)
        .bind(7, in.URL)
        .bind(8, in.Remarks)
        .bind(9, keys.pinyin)
        .bind(10, keys.initials)
        .bind(11, id)
        .bind(12, m_session.userName());
    update.run();
}

bool RecordStore::remove(qint64 id) {
    sql::Statement remove = m_database.connection().prepare(
        "DELETE FROM AccountData WHERE rowid = ?1 AND UserName = ?2");
    remove.bind(1, id).bind(2, m_session.userName());
    remove.run();
    return m_database.connection().changes() == 1;
}

std::optional<Record> RecordStore::get(qint64 id) {
    sql::Statement select =
        m_database.connection().prepare((QByteArray("SELECT ") + kRecordColumns +
                                         " FROM AccountData WHERE rowid = ?1 AND UserName = ?2")
                                            .constData());
    select.bind(1, id).bind(2, m_session.userName());
    if (!select.step())
        return std::nullopt;
    return readRecord(select);
}

bool RecordStore::keyTaken(const QString &typeName, const QString &accountName,
                           const QString &accountId, qint64 exceptId) {
    sql::Statement select = m_database.connection().prepare(
        "SELECT 1 FROM AccountData WHERE UserName = ?1 AND TypeName = ?2 COLLATE BINARY"
        " AND AccountName = ?3"
        " AND AccountID = ?4 AND rowid <> ?5 LIMIT 1");
    select.bind(1, m_session.userName())
        .bind(2, typeName)
        .bind(3, accountName)
        .bind(4, accountId)
        .bind(5, exceptId);
    return select.step();
}

std::vector<ListEntry> RecordStore::list() {
    sql::Statement select = m_database.connection().prepare(
        "SELECT rowid, TypeName, AccountName, AccountID, URL, AccountPassword, AccountPY,"
        " SearchInitials, SearchPinyin FROM AccountData WHERE UserName = ?1"
        " ORDER BY rowid");
    select.bind(1, m_session.userName());
    std::vector<ListEntry> result;
    QString lastType; // rows of one category share one string
    while (select.step()) {
        ListEntry entry;
        entry.id = select.integer(0);
        entry.TypeName = select.text(1);
        if (entry.TypeName == lastType)
            entry.TypeName = lastType;
        else
            lastType = entry.TypeName;
        entry.AccountName = select.text(2);
        entry.AccountID = select.text(3);
        entry.URL = select.text(4);
        entry.AccountPassword = select.blob(5);
        entry.searchText =
            searchTextOf(entry.AccountName, select.text(6), select.text(7), select.text(8));
        result.push_back(std::move(entry));
    }
    return result;
}

std::vector<Record> RecordStore::all() {
    sql::Statement select =
        m_database.connection().prepare((QByteArray("SELECT ") + kRecordColumns +
                                         " FROM AccountData WHERE UserName = ?1 ORDER BY rowid")
                                            .constData());
    select.bind(1, m_session.userName());
    std::vector<Record> result;
    while (select.step())
        result.push_back(readRecord(select));
    return result;
}

std::vector<qint64> RecordStore::find(const FindCriteria &c) {
    // Each criterion is either empty (not compared) or must equal the whole stored value.
    sql::Statement select = m_database.connection().prepare(
        "SELECT rowid FROM AccountData WHERE UserName = ?1"
        " AND (?2 = '' OR TypeName = ?2 COLLATE BINARY) AND (?3 = '' OR AccountName = ?3)"
        " AND (?4 = '' OR AccountID = ?4) AND (?5 = '' OR RegDate = ?5)"
        " AND (?6 = '' OR URL = ?6) ORDER BY rowid");
    select.bind(1, m_session.userName())
        .bind(2, c.TypeName)
        .bind(3, c.AccountName)
        .bind(4, c.AccountID)
        .bind(5, c.RegDate)
        .bind(6, c.URL);
    std::vector<qint64> ids;
    while (select.step())
        ids.push_back(select.integer(0));
    return ids;
}

QString RecordStore::password(const QByteArray &sealed) const {
    return m_session.decryptPassword(sealed);
}

void RecordStore::fillSearchKeys(sql::Connection &db) {
    sql::Statement select =
        db.prepare("SELECT rowid, AccountName FROM AccountData WHERE SearchPinyin IS NULL");
    std::vector<std::pair<qint64, QString>> missing;
    while (select.step())
        missing.emplace_back(select.integer(0), select.text(1));
    if (missing.empty())
        return;
    sql::Transaction transaction(db);
    sql::Statement update = db.prepare(
        "UPDATE AccountData SET SearchPinyin = ?1, SearchInitials = ?2 WHERE rowid = ?3");
    for (const auto &[id, name] : missing) {
        const SearchKeys keys = searchKeysFor(name);
        update.reset();
        update.bind(1, keys.pinyin).bind(2, keys.initials).bind(3, id);
        update.run();
    }
    transaction.commit();
}
