#pragma once

#include <QString>
#include <vector>

class Database;

struct Category {
    QString TypeName;
    int icoIndex = 11; // image number in the category tree; also its sort key

    bool operator==(const Category &) const = default;
};

// One user's categories. A category is one exact name: "ftp帐号" and "FTP帐号" are two, and no
// operation on one touches the other's row or records. The column collates without letter case
// (older files rely on it), so every statement here compares TypeName with COLLATE BINARY.
class CategoryStore {
public:
    CategoryStore(Database &database, QString userName)
        : m_database(database), m_user(std::move(userName)) {}

    // In tree order: by icon number, then in the order they were made.
    std::vector<Category> list();
    bool exists(const QString &typeName);
    void add(const Category &category);
    // Gives a category a new name and moves this user's records with it, all or nothing.
    void rename(const QString &oldName, const QString &newName);
    // Removes a category and every record of this user in it, all or nothing.
    void remove(const QString &typeName);

private:
    Database &m_database;
    QString m_user;
};
