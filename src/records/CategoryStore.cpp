#include "records/CategoryStore.h"

#include "storage/Database.h"

std::vector<Category> CategoryStore::list() {
    sql::Statement query = m_database.connection().prepare(
        "SELECT TypeName, icoIndex FROM AccountType WHERE UserName = ?1 ORDER BY icoIndex, rowid");
    query.bind(1, m_user);
    std::vector<Category> result;
    while (query.step())
        result.push_back({query.text(0), int(query.integer(1))});
    return result;
}

bool CategoryStore::exists(const QString &typeName) {
    sql::Statement query = m_database.connection().prepare(
        "SELECT 1 FROM AccountType WHERE UserName = ?1 AND TypeName = ?2 COLLATE BINARY");
    query.bind(1, m_user).bind(2, typeName);
    return query.step();
}

void CategoryStore::add(const Category &category) {
    sql::Statement insert = m_database.connection().prepare(
        "INSERT INTO AccountType (TypeName, UserName, icoIndex) VALUES (?1, ?2, ?3)");
    insert.bind(1, category.TypeName).bind(2, m_user).bind(3, category.icoIndex);
    insert.run();
}

void CategoryStore::rename(const QString &oldName, const QString &newName) {
    sql::Connection &db = m_database.connection();
    sql::Transaction transaction(db);
    sql::Statement category = db.prepare(
        "UPDATE AccountType SET TypeName = ?1 WHERE rowid = (SELECT rowid FROM AccountType"
        " WHERE UserName = ?2 AND TypeName = ?3 COLLATE BINARY ORDER BY icoIndex, rowid LIMIT 1)");
    category.bind(1, newName).bind(2, m_user).bind(3, oldName);
    category.run();
    sql::Statement records = db.prepare("UPDATE AccountData SET TypeName = ?1 WHERE UserName = ?2 "
                                        "AND TypeName = ?3 COLLATE BINARY");
    records.bind(1, newName).bind(2, m_user).bind(3, oldName);
    records.run();
    transaction.commit();
}

void CategoryStore::remove(const QString &typeName) {
    sql::Connection &db = m_database.connection();
    sql::Transaction transaction(db);
    sql::Statement category = db.prepare(
        "DELETE FROM AccountType WHERE rowid = (SELECT rowid FROM AccountType"
        " WHERE UserName = ?1 AND TypeName = ?2 COLLATE BINARY ORDER BY icoIndex, rowid LIMIT 1)");
    category.bind(1, m_user).bind(2, typeName);
    category.run();
    sql::Statement records =
        db.prepare("DELETE FROM AccountData WHERE UserName = ?1 AND TypeName = ?2 COLLATE BINARY");
    records.bind(1, m_user).bind(2, typeName);
    records.run();
    transaction.commit();
}
