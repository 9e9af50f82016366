#include "records/RecordStore.h"

#include "core/PinYin.h"
#include "storage/Vault.h"
#include "users/Session.h"

void RecordStore::add(Record record, const QString &plainPassword) {
    record.AccountPassword = m_session.encryptPassword(plainPassword);
    if (record.AccountPY.isEmpty()) {
        for (const QString &character : record.AccountName.split(QString(), Qt::SkipEmptyParts))
            record.AccountPY += GetPYInitial(character);
    }
    sql::Statement insert = m_vault.connection().prepare(
        "INSERT INTO AccountData (UserName, TypeName, AccountName, AccountPY, AccountID,"
        " AccountPassword, RegDate, URL, Remarks) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)");
    insert.bind(1, m_session.userName())
        .bind(2, record.TypeName)
        .bind(3, record.AccountName)
        .bind(4, record.AccountPY)
        .bind(5, record.AccountID)
        .bind(6, record.AccountPassword)
        .bind(7, record.RegDate)
        .bind(8, record.URL)
        .bind(9, record.Remarks);
    insert.run();
}

std::vector<Record> RecordStore::query(const char *sqlText, const QString *typeName) {
    sql::Statement select = m_vault.connection().prepare(sqlText);
    select.bind(1, m_session.userName());
    if (typeName)
        select.bind(2, *typeName);
    std::vector<Record> result;
    while (select.step())
        result.push_back({select.text(0), select.text(1), select.text(2), select.text(3),
                          select.blob(4), select.text(5), select.text(6), select.text(7)});
    return result;
}

std::vector<Record> RecordStore::all() {
    return query("SELECT TypeName, AccountName, AccountPY, AccountID, AccountPassword, RegDate,"
                 " URL, Remarks FROM AccountData WHERE UserName = ?1 ORDER BY rowid",
                 nullptr);
}

std::vector<Record> RecordStore::inCategory(const QString &typeName) {
    return query("SELECT TypeName, AccountName, AccountPY, AccountID, AccountPassword, RegDate,"
                 " URL, Remarks FROM AccountData WHERE UserName = ?1 AND TypeName = ?2"
                 " ORDER BY rowid",
                 &typeName);
}

QString RecordStore::password(const Record &record) const {
    return m_session.decryptPassword(record.AccountPassword);
}
