#include "users/UserStore.h"

#include "storage/Database.h"
#include "storage/Schema.h"

#include <QDir>

namespace {

constexpr char kKeyContext[] = "ombrivo.data-key.v1";

struct WrappedKey {
    QByteArray salt;
    crypto::KdfParams params;
    QByteArray sealed;
};

WrappedKey wrap(const crypto::SecureBytes &dataKey, const QString &password,
                const crypto::KdfParams &params) {
    WrappedKey wrapped{crypto::randomBytes(crypto::kSaltSize), params, {}};
    const crypto::SecureBytes kek = crypto::deriveKey(password, wrapped.salt, params);
    wrapped.sealed = crypto::seal(kek, dataKey.data(), dataKey.size(), kKeyContext);
    return wrapped;
}

QString dateText(const QDate &date) {
    return date.toString(Qt::ISODate);
}

} // namespace

QStringList UserStore::names() {
    sql::Statement query =
        m_database.connection().prepare("SELECT UserName FROM sysuser ORDER BY rowid");
    QStringList result;
    while (query.step())
        result << query.text(0);
    return result;
}

bool UserStore::exists(const QString &name) {
    sql::Statement query =
        m_database.connection().prepare("SELECT 1 FROM sysuser WHERE UserName = ?1");
    query.bind(1, name);
    return query.step();
}

void UserStore::registerUser(const QString &name, const QString &password, const QDate &today,
                             const QString &appPath) {
    const crypto::KdfParams &params = m_database.kdfParams();
    const QString verifier = crypto::hashPassword(password, params);
    const crypto::SecureBytes dataKey = crypto::randomKey();
    const WrappedKey wrapped = wrap(dataKey, password, params);
    const QString backupPath =
        QDir::toNativeSeparators(appPath + QStringLiteral("/SystemDataBackup.dat"));

    sql::Connection &db = m_database.connection();
    sql::Transaction transaction(db);
    sql::Statement insertUser = db.prepare(
        "INSERT INTO sysuser (UserName, UserPassword, AutoBackup, PriorBackupDate, AutoBackupPath,"
        " AutoCompress, MinLockTime, ShowPassword, ClearClipboard, ShortcutUser, ShortcutPassword,"
        " ShortcutURL, WinRun, TypeNameWidth, AccountNameWidth, AccountIDWidth,"
        " AccountPasswordWidth, URLWidth, Custom1, Custom2, KeySalt, KeyOpsLimit, KeyMemLimit,"
        " WrappedKey) VALUES (?1, ?2, 0, ?3, ?4, 1, 5, 1, 1, '4|49', '4|50', '4|51', 0, 1440, 1440,"
        " 1440, 1440, 1440, '4|83', 1, ?5, ?6, ?7, ?8)");
    insertUser.bind(1, name)
        .bind(2, verifier)
        .bind(3, dateText(today))
        .bind(4, backupPath)
        .bind(5, wrapped.salt)
        .bind(6, qint64(wrapped.params.opsLimit))
        .bind(7, qint64(wrapped.params.memLimit))
        .bind(8, wrapped.sealed);
    insertUser.run();

    sql::Statement insertType =
        db.prepare("INSERT INTO AccountType (TypeName, UserName, icoIndex) VALUES (?1, ?2, ?3)");
    const QStringList categories = schema::defaultCategories();
    for (int i = 0; i < categories.size(); ++i) {
        insertType.reset();
        insertType.bind(1, categories[i]).bind(2, name).bind(3, i + 1);
        insertType.run();
    }
    transaction.commit();
}

bool UserStore::checkPassword(const QString &name, const QString &password) {
    sql::Statement query =
        m_database.connection().prepare("SELECT UserPassword FROM sysuser WHERE UserName = ?1");
    query.bind(1, name);
    return query.step() && crypto::verifyPassword(query.text(0), password);
}

std::optional<Session> UserStore::login(const QString &name, const QString &password) {
    sql::Statement query = m_database.connection().prepare(
        "SELECT UserName, UserPassword, KeySalt, KeyOpsLimit, KeyMemLimit, WrappedKey"
        " FROM sysuser WHERE UserName = ?1");
    query.bind(1, name);
    if (!query.step() || !crypto::verifyPassword(query.text(1), password))
        return std::nullopt;
    const crypto::KdfParams params{quint64(query.integer(3)), quint64(query.integer(4))};
    const crypto::SecureBytes kek = crypto::deriveKey(password, query.blob(2), params);
    // A verifier that matches but a key that does not open means the row was tampered with;
    // that is not a wrong password, so it is raised.
    crypto::SecureBytes dataKey = crypto::open(kek, query.blob(5), kKeyContext);
    return Session(query.text(0), std::move(dataKey));
}

bool UserStore::unlock(Session &session, const QString &password) {
    std::optional<Session> fresh = login(session.userName(), password);
    if (!fresh)
        return false;
    session.unlock(fresh->takeKey());
    return true;
}

void UserStore::changePassword(const Session &session, const QString &newPassword) {
    const crypto::KdfParams &params = m_database.kdfParams();
    const QString verifier = crypto::hashPassword(newPassword, params);
    const WrappedKey wrapped = wrap(session.dataKey(), newPassword, params);
    sql::Statement update = m_database.connection().prepare(
        "UPDATE sysuser SET UserPassword = ?1, KeySalt = ?2, KeyOpsLimit = ?3, KeyMemLimit = ?4,"
        " WrappedKey = ?5 WHERE UserName = ?6");
    update.bind(1, verifier)
        .bind(2, wrapped.salt)
        .bind(3, qint64(wrapped.params.opsLimit))
        .bind(4, qint64(wrapped.params.memLimit))
        .bind(5, wrapped.sealed)
        .bind(6, session.userName());
    update.run();
}

UserSettings UserStore::settings(const QString &name) {
    sql::Statement query = m_database.connection().prepare(
        "SELECT AutoBackup, PriorBackupDate, AutoBackupPath, AutoCompress, MinLockTime,"
        " ShowPassword, ClearClipboard, ShortcutUser, ShortcutPassword, ShortcutURL, WinRun,"
        " TypeNameWidth, AccountNameWidth, AccountIDWidth, AccountPasswordWidth, URLWidth,"
        " Custom1, Custom2 FROM sysuser WHERE UserName = ?1");
    query.bind(1, name);
    UserSettings s;
    if (!query.step())
        throw VaultError(VaultError::Kind::Io, QStringLiteral("no user %1").arg(name));
    s.AutoBackup = query.real(0);
    s.PriorBackupDate = QDate::fromString(query.text(1), Qt::ISODate);
    s.AutoBackupPath = query.text(2);
    s.AutoCompress = query.integer(3) != 0;
    s.MinLockTime = query.real(4);
    s.ShowPassword = query.integer(5) != 0;
    s.ClearClipboard = query.integer(6) != 0;
    s.ShortcutUser = query.text(7);
    s.ShortcutPassword = query.text(8);
    s.ShortcutURL = query.text(9);
    s.WinRun = query.integer(10) != 0;
    s.TypeNameWidth = query.real(11);
    s.AccountNameWidth = query.real(12);
    s.AccountIDWidth = query.real(13);
    s.AccountPasswordWidth = query.real(14);
    s.URLWidth = query.real(15);
    s.Custom1 = query.text(16);
    s.Custom2 = int(query.integer(17));
    return s;
}

void UserStore::saveSettings(const QString &name, const UserSettings &s) {
    sql::Statement update = m_database.connection().prepare(
        "UPDATE sysuser SET AutoBackup = ?1, PriorBackupDate = ?2, AutoBackupPath = ?3,"
        " AutoCompress = ?4, MinLockTime = ?5, ShowPassword = ?6, ClearClipboard = ?7,"
        " ShortcutUser = ?8, ShortcutPassword = ?9, ShortcutURL = ?10, WinRun = ?11,"
        " TypeNameWidth = ?12, AccountNameWidth = ?13, AccountIDWidth = ?14,"
        " AccountPasswordWidth = ?15, URLWidth = ?16, Custom1 = ?17, Custom2 = ?18"
        " WHERE UserName = ?19");
    update.bind(1, s.AutoBackup)
        .bind(2, dateText(s.PriorBackupDate))
        .bind(3, s.AutoBackupPath)
        .bind(4, int(s.AutoCompress))
        .bind(5, s.MinLockTime)
        .bind(6, int(s.ShowPassword))
        .bind(7, int(s.ClearClipboard))
        .bind(8, s.ShortcutUser)
        .bind(9, s.ShortcutPassword)
        .bind(10, s.ShortcutURL)
        .bind(11, int(s.WinRun))
        .bind(12, s.TypeNameWidth)
        .bind(13, s.AccountNameWidth)
        .bind(14, s.AccountIDWidth)
        .bind(15, s.AccountPasswordWidth)
        .bind(16, s.URLWidth)
        .bind(17, s.Custom1)
        .bind(18, s.Custom2)
        .bind(19, name);
    update.run();
}

void UserStore::rename(const QString &oldName, const QString &newName) {
    sql::Connection &db = m_database.connection();
    sql::Transaction transaction(db);
    for (const char *update : {"UPDATE sysuser SET UserName = ?1 WHERE UserName = ?2",
                               "UPDATE AccountType SET UserName = ?1 WHERE UserName = ?2",
                               "UPDATE AccountData SET UserName = ?1 WHERE UserName = ?2"}) {
        sql::Statement statement = db.prepare(update);
        statement.bind(1, newName).bind(2, oldName);
        statement.run();
    }
    transaction.commit();
}

void UserStore::remove(const QString &name) {
    sql::Connection &db = m_database.connection();
    sql::Transaction transaction(db);
    for (const char *remove :
         {"DELETE FROM sysuser WHERE UserName = ?1", "DELETE FROM AccountType WHERE UserName = ?1",
          "DELETE FROM AccountData WHERE UserName = ?1"}) {
        sql::Statement statement = db.prepare(remove);
        statement.bind(1, name);
        statement.run();
    }
    transaction.commit();
}
