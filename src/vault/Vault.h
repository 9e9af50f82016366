#pragma once

#include "storage/Database.h"

#include <QString>
#include <memory>

class CategoryStore;
class RecordStore;
class Session;
class UserStore;

// The data file as the program uses it: the database, brought up to date when it opens, and
// the stores that read and write its users, categories and records.
class Vault : public Database {
public:
    static std::unique_ptr<Vault> open(const QString &path);

    UserStore users();
    CategoryStore categories(const QString &userName);
    RecordStore records(const Session &session);

private:
    explicit Vault(Database &&database) : Database(std::move(database)) {}
};
