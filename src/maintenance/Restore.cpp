#include "maintenance/Restore.h"

#include "records/RecordStore.h"
#include "storage/AtomicFile.h"
#include "storage/clsSimpleXOR.h"
#include "users/Session.h"
#include "users/UserStore.h"
#include "vault/DataFile.h"
#include "vault/DataFolder.h"
#include "vault/Vault.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

[[noreturn]] void refuse(const QString &text) {
    throw BackupFile::Error(text.toStdString());
}

QString tr(const char *text) {
    return QCoreApplication::translate("BackupFile", text);
}

} // namespace

BackupFile::BackupFile(QString folder, std::unique_ptr<Vault> vault)
    : m_folder(std::move(folder)), m_vault(std::move(vault)) {}

BackupFile::~BackupFile() {
    m_vault.reset();
    QDir(m_folder).removeRecursively();
}

std::unique_ptr<BackupFile> BackupFile::open(const QString &backupPath, const QString &dataFolder) {
    const QFileInfo info(backupPath);
    if (info.isDir())
        refuse(tr("所选的是文件夹,不是备份文件: %1").arg(QDir::toNativeSeparators(backupPath)));
    if (!info.exists() || !info.isFile())
        refuse(tr("备份文件不存在: %1").arg(QDir::toNativeSeparators(backupPath)));
    // Opening the live file a second time in this process would drop the database's locks.
    const QFileInfo live(dataFolder + QLatin1Char('/') + QLatin1String(datafile::kFileName));
    if (live.exists() && live.canonicalFilePath() == info.canonicalFilePath())
        refuse(tr("正在使用的数据文件不能作为备份文件恢复: %1")
                   .arg(QDir::toNativeSeparators(backupPath)));
    QFile file(backupPath);
    if (!file.open(QIODevice::ReadOnly))
        refuse(tr("备份文件无法读取: %1").arg(QDir::toNativeSeparators(backupPath)));
    QByteArray bytes = file.readAll();
    file.close();
    if (bytes.isEmpty())
        refuse(tr("备份文件是空的: %1").arg(QDir::toNativeSeparators(backupPath)));
    clsSimpleXOR().DecryptByte(bytes, QString::fromLatin1(datafile::kScrambleKey));

    const QString folder = DataFolder::restoreWorkFolder(dataFolder);
    QDir(folder).removeRecursively();
    if (!QDir().mkpath(folder))
        refuse(tr("无法创建临时文件夹: %1").arg(QDir::toNativeSeparators(folder)));
    const QString copy = folder + QStringLiteral("/backup.dat");
    try {
        atomicfile::write(copy, bytes);
        auto vault = Vault::open(copy);
        return std::unique_ptr<BackupFile>(new BackupFile(folder, std::move(vault)));
    } catch (const std::exception &) {
        QDir(folder).removeRecursively();
        refuse(tr("所选文件不是有效的备份文件,或已损坏: %1")
                   .arg(QDir::toNativeSeparators(backupPath)));
    }
}

QStringList BackupFile::users() {
    return m_vault->users().names();
}

bool BackupFile::checkPassword(const QString &user, const QString &password) {
    return m_vault->users().checkPassword(user, password);
}

void BackupFile::restoreInto(Vault &live, const Session &session, const QString &backupUser,
                             const QString &password, bool replaceSettings) {
    std::optional<Session> source = m_vault->users().login(backupUser, password);
    if (!source)
        refuse(tr("用户密码错误,请重新输入!"));

    sql::Connection &db = live.connection();
    sql::Transaction transaction(db);
    if (replaceSettings) {
        UserStore users = live.users();
        users.saveSettings(session.userName(), m_vault->users().settings(backupUser));
    }

    for (const char *remove : {"DELETE FROM AccountType WHERE UserName = ?1",
                               "DELETE FROM AccountData WHERE UserName = ?1"}) {
        sql::Statement statement = db.prepare(remove);
        statement.bind(1, session.userName());
        statement.run();
    }

    sql::Statement types = m_vault->connection().prepare(
        "SELECT TypeName, icoIndex FROM AccountType WHERE UserName = ?1 ORDER BY icoIndex, rowid");
    types.bind(1, backupUser);
    sql::Statement insertType =
        db.prepare("INSERT INTO AccountType (TypeName, UserName, icoIndex) VALUES (?1, ?2, ?3)");
    while (types.step()) {
        insertType.reset();
        insertType.bind(1, types.text(0)).bind(2, session.userName()).bind(3, types.integer(1));
        insertType.run();
    }

    sql::Statement records = m_vault->connection().prepare(
        "SELECT TypeName, AccountName, AccountPY, AccountID, AccountPassword, RegDate, URL,"
        " Remarks, SearchPinyin, SearchInitials FROM AccountData WHERE UserName = ?1"
        " ORDER BY rowid");
    records.bind(1, backupUser);
    sql::Statement insertRecord =
        db.prepare("INSERT INTO AccountData (UserName, TypeName, AccountName, AccountPY, AccountID,"
                   " AccountPassword, RegDate, URL, Remarks, SearchPinyin, SearchInitials)"
                   " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11)");
    while (records.step()) {
        // A ciphertext of the backup user's key is never copied as it is.
        QString plain = source->decryptPassword(records.blob(4));
        const QByteArray sealed = session.encryptPassword(plain);
        crypto::wipe(plain);
        insertRecord.reset();
        insertRecord.bind(1, session.userName())
            .bind(2, records.text(0))
            .bind(3, records.text(1))
            .bind(4, records.text(2))
            .bind(5, records.text(3))
            .bind(6, sealed)
            .bind(7, records.text(5))
            .bind(8, records.text(6))
            .bind(9, records.text(7));
        for (int column : {8, 9}) {
            if (records.isNull(column))
                insertRecord.bindNull(column + 2);
            else
                insertRecord.bind(column + 2, records.text(column));
        }
        insertRecord.run();
    }
    transaction.commit();
    // Records whose keys the backup lacked get them now.
    RecordStore::fillSearchKeys(db);
}
