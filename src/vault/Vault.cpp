#include "vault/Vault.h"

#include "records/CategoryStore.h"
#include "records/RecordStore.h"
#include "users/UserStore.h"

std::unique_ptr<Vault> Vault::open(const QString &path) {
    std::unique_ptr<Database> database = Database::open(path);
    try {
        // Records written before the pinyin keys existed get them now.
        RecordStore::fillSearchKeys(database->connection());
    } catch (const sql::Error &error) {
        throw VaultError(
            VaultError::Kind::Io,
            QStringLiteral("%1 cannot be opened: %2").arg(path, QString::fromUtf8(error.what())));
    }
    return std::unique_ptr<Vault>(new Vault(std::move(*database)));
}

UserStore Vault::users() {
    return UserStore(*this);
}

CategoryStore Vault::categories(const QString &userName) {
    return CategoryStore(*this, userName);
}

RecordStore Vault::records(const Session &session) {
    return RecordStore(*this, session);
}
