#include "storage/Schema.h"

#include "storage/Sqlite.h"

namespace schema {

QStringList defaultCategories() {
    return QString::fromUtf8(kDefaultCategories).split(QLatin1Char(','));
}

// Names compare without regard to letter case (COLLATE NOCASE), so the login lookup, the
// duplicate tests and the searches agree. Category names are the exception: the statements that
// match on TypeName compare it with COLLATE BINARY, as two spellings are two categories. Widths are
// twips; yes/no settings are 0/1 integers; dates are "yyyy-MM-dd" texts. The key columns hold the
// user's data key wrapped under a key derived from his login password. SearchPinyin and
// SearchInitials are the quick search's pinyin keys of AccountName, filled when a record is written
// (NULL: not computed yet).
static const char *const kCreate = R"(
CREATE TABLE sysuser (
    UserName TEXT NOT NULL COLLATE NOCASE,
    UserPassword TEXT NOT NULL,
    AutoBackup REAL NOT NULL DEFAULT 0,
    PriorBackupDate TEXT,
    AutoBackupPath TEXT NOT NULL DEFAULT '',
    AutoCompress INTEGER NOT NULL DEFAULT 1,
    MinLockTime REAL NOT NULL DEFAULT 5,
    ShowPassword INTEGER NOT NULL DEFAULT 1,
    ClearClipboard INTEGER NOT NULL DEFAULT 1,
    ShortcutUser TEXT NOT NULL DEFAULT '4|49',
    ShortcutPassword TEXT NOT NULL DEFAULT '4|50',
    ShortcutURL TEXT NOT NULL DEFAULT '4|51',
    WinRun INTEGER NOT NULL DEFAULT 0,
    TypeNameWidth REAL NOT NULL DEFAULT 1440,
    AccountNameWidth REAL NOT NULL DEFAULT 1440,
    AccountIDWidth REAL NOT NULL DEFAULT 1440,
    AccountPasswordWidth REAL NOT NULL DEFAULT 1440,
    URLWidth REAL NOT NULL DEFAULT 1440,
    Custom1 TEXT NOT NULL DEFAULT '4|83',
    Custom2 INTEGER NOT NULL DEFAULT 1,
    KeySalt BLOB NOT NULL,
    KeyOpsLimit INTEGER NOT NULL,
    KeyMemLimit INTEGER NOT NULL,
    WrappedKey BLOB NOT NULL
);
CREATE UNIQUE INDEX sysuser_name ON sysuser (UserName);
CREATE TABLE AccountType (
    TypeName TEXT NOT NULL COLLATE NOCASE,
    UserName TEXT NOT NULL COLLATE NOCASE,
    icoIndex INTEGER NOT NULL
);
CREATE INDEX AccountType_user ON AccountType (UserName, icoIndex);
CREATE TABLE AccountData (
    UserName TEXT NOT NULL COLLATE NOCASE,
    TypeName TEXT NOT NULL COLLATE NOCASE,
    AccountName TEXT NOT NULL COLLATE NOCASE,
    AccountPY TEXT NOT NULL DEFAULT '' COLLATE NOCASE,
    AccountID TEXT NOT NULL DEFAULT '' COLLATE NOCASE,
    AccountPassword BLOB,
    RegDate TEXT NOT NULL DEFAULT '',
    URL TEXT NOT NULL DEFAULT '' COLLATE NOCASE,
    Remarks TEXT NOT NULL DEFAULT '',
    SearchPinyin TEXT,
    SearchInitials TEXT
);
CREATE INDEX AccountData_user ON AccountData (UserName, TypeName);
PRAGMA user_version = 2;
)";

void create(sql::Connection &db) {
    sql::Transaction transaction(db);
    db.exec(kCreate);
    transaction.commit();
}

bool upgrade(sql::Connection &db) {
    bool hasSearchKeys = false;
    sql::Statement columns = db.prepare("PRAGMA table_info(AccountData)");
    while (columns.step())
        hasSearchKeys |= columns.text(1) == QLatin1String("SearchPinyin");
    if (hasSearchKeys)
        return false;
    sql::Transaction transaction(db);
    db.exec("ALTER TABLE AccountData ADD COLUMN SearchPinyin TEXT;"
            "ALTER TABLE AccountData ADD COLUMN SearchInitials TEXT;"
            "PRAGMA user_version = 2;");
    transaction.commit();
    return true;
}

bool isPresent(sql::Connection &db) {
    sql::Statement query =
        db.prepare("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name IN "
                   "('sysuser', 'AccountType', 'AccountData')");
    return query.step() && query.integer(0) == 3;
}

} // namespace schema
