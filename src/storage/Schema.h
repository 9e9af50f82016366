#pragma once

#include <QStringList>

namespace sql {
class Connection;
}

namespace schema {

constexpr int kVersion = 2;

// The nine categories every new user receives, in icon order; also the names that category
// maintenance protects.
inline constexpr char kDefaultCategories[] =
    "FTP帐号,博客帐号,聊天帐号,论坛帐号,网站帐号,银行帐号,邮箱帐号,游戏帐号,其它";
QStringList defaultCategories();

// Creates the three tables and their indexes in an empty database.
void create(sql::Connection &db);
// Brings an older database up to this version; true when something changed.
bool upgrade(sql::Connection &db);
// Whether the database holds the three tables (any version we can read).
bool isPresent(sql::Connection &db);

} // namespace schema
