#include "storage/Database.h"

#include "storage/AtomicFile.h"
#include "storage/CipherKey.h"
#include "storage/Schema.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <filesystem>
#include <sqlite3.h>
#include <system_error>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

VaultError::VaultError(Kind kind, const QString &message)
    : std::runtime_error(message.toStdString()), m_kind(kind) {}

namespace {

// The key for a file with this salt; the plain password for a file too short to hold one (it
// is no data file, and fails to open as one).
crypto::SecureBytes databaseKey(const QByteArray &salt) {
    const QByteArrayView password(Database::kDatabaseKey);
    if (salt.isEmpty()) {
        crypto::SecureBytes plain(std::size_t(password.size()));
        std::copy(password.begin(), password.end(), plain.data());
        return plain;
    }
    return cipherkey::keyText(password, salt);
}

QByteArrayView view(const crypto::SecureBytes &bytes) {
    return {reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size())};
}

VaultError translate(const sql::Error &error, const QString &path) {
    switch (error.code() & 0xff) {
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return VaultError(VaultError::Kind::NotOurs,
                          QStringLiteral("%1 is not an Ombrivo data file").arg(path));
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return VaultError(VaultError::Kind::Locked,
                          QStringLiteral("%1 is in use by another program").arg(path));
    default:
        return VaultError(
            VaultError::Kind::Io,
            QStringLiteral("%1 cannot be opened: %2").arg(path, QString::fromUtf8(error.what())));
    }
}

// An encrypting build answers with its version; plain SQLite ignores the pragma.
void requireCipher(sql::Connection &db) {
    if (db.scalarText("PRAGMA cipher_version").isEmpty())
        throw VaultError(VaultError::Kind::NoCipher,
                         QStringLiteral("the database library does not encrypt; refusing to "
                                        "open the data file"));
}

} // namespace

Database::Database(QString path, sql::Connection db, QByteArray salt)
    : m_path(std::move(path)), m_db(std::move(db)), m_salt(std::move(salt)) {}

Database::~Database() = default;

std::unique_ptr<Database> Database::open(const QString &path) {
    const QFileInfo info(path);
    if (info.isDir())
        throw VaultError(VaultError::Kind::Io,
                         QStringLiteral("%1 is a folder, not a data file").arg(path));
    if (!info.exists() || !info.isFile())
        throw VaultError(VaultError::Kind::Io, QStringLiteral("%1 does not exist").arg(path));
    if (info.size() == 0)
        throw VaultError(VaultError::Kind::NotOurs, QStringLiteral("%1 is empty").arg(path));
    if (!info.isReadable() || !info.isWritable())
        throw VaultError(VaultError::Kind::Io,
                         QStringLiteral("%1 cannot be read and written").arg(path));
    try {
        QByteArray salt = cipherkey::saltOf(path);
        sql::Connection db =
            sql::Connection::open(path, sql::Connection::Mode::ReadWrite, view(databaseKey(salt)));
        requireCipher(db);
        // Keep temporary tables and indexes in memory: nothing unencrypted goes beside the file.
        db.exec("PRAGMA temp_store = MEMORY");
        db.exec("PRAGMA locking_mode = EXCLUSIVE");
        // Look before writing: a write transaction on a file that is not a database (an empty
        // one, say) would turn it into one. The read fails if the key does not open the file.
        const bool ours = schema::isPresent(db);
        sql::Statement pages = db.prepare("PRAGMA page_count");
        const qint64 pageCount = pages.step() ? pages.integer(0) : 0;
        sql::Statement pageSize = db.prepare("PRAGMA page_size");
        const qint64 size = pageSize.step() ? pageSize.integer(0) : 0;
        if (!ours)
            throw VaultError(VaultError::Kind::NotOurs,
                             QStringLiteral("%1 is not an Ombrivo data file").arg(path));
        if (pageCount * size > info.size())
            throw VaultError(VaultError::Kind::Damaged,
                             QStringLiteral("%1 is truncated").arg(path));
        // The first write transaction takes the exclusive lock, and exclusive mode keeps it.
        db.exec("BEGIN EXCLUSIVE");
        db.exec("COMMIT");
        schema::upgrade(db);
        return std::unique_ptr<Database>(new Database(path, std::move(db), std::move(salt)));
    } catch (const sql::Error &error) {
        throw translate(error, path);
    }
}

void Database::create(const QString &path) {
    try {
        sql::Connection db = sql::Connection::open(path, sql::Connection::Mode::Create,
                                                   view(databaseKey(cipherkey::newSalt())));
        requireCipher(db);
        schema::create(db);
    } catch (const sql::Error &error) {
        throw translate(error, path);
    }
}

void Database::close() {
    m_db.close();
}

void Database::exportTo(const QString &target) {
    sql::Statement attach = m_db.prepare("ATTACH DATABASE ?1 AS export KEY ?2");
    // The copy takes the live file's salt, and so its key: nothing is stretched again.
    const crypto::SecureBytes key = databaseKey(m_salt);
    const QByteArrayView text = view(key);
    attach.bind(1, target).bind(2, QByteArray::fromRawData(text.constData(), text.size()));
    attach.run();
    try {
        m_db.exec("SELECT sqlcipher_export('export')");
        m_db.exec("PRAGMA export.user_version = 2");
    } catch (...) {
        m_db.exec("DETACH DATABASE export");
        throw;
    }
    m_db.exec("DETACH DATABASE export");
}

void Database::compact(const QString &temporary) {
    QFile::remove(temporary);
    try {
        // The live connection may not create files, and an attached database inherits that:
        // the copy starts as an empty file.
        QFile empty(temporary);
        if (!empty.open(QIODevice::WriteOnly))
            throw VaultError(VaultError::Kind::Io,
                             QStringLiteral("cannot create %1").arg(temporary));
        empty.close();
        exportTo(temporary);
        // The copy must open as a whole data file before it may take the live file's place.
        Database::open(temporary)->close();
    } catch (const std::exception &) {
        QFile::remove(temporary);
        throw;
    }
#ifdef Q_OS_UNIX
    // The live connection stays open until the compacted file has opened in its place. A second
    // name for the live file keeps it while the copy takes the name, so that if the copy will
    // not open the live file goes back to its name and its connection carries on. Should a
    // crash come in between, the second name is a leftover that the next start removes.
    const QString kept = QFileInfo(m_path).absolutePath() + QLatin1Char('/') +
                         QFileInfo(m_path).fileName() + QStringLiteral(".compac.tmp");
    QFile::remove(kept);
    // The compacted file's connection uses the same journal name; this one, closed later, must
    // not remove that journal, so for its last moments it journals in memory.
    m_db.exec("PRAGMA journal_mode = MEMORY");
    if (::link(QFile::encodeName(m_path).constData(), QFile::encodeName(kept).constData()) != 0) {
        QFile::remove(temporary);
        m_db.exec("PRAGMA journal_mode = DELETE");
        throw VaultError(VaultError::Kind::Io,
                         QStringLiteral("cannot keep %1 while it is compacted").arg(m_path));
    }
    try {
        atomicfile::replace(temporary, m_path);
    } catch (const std::exception &) {
        QFile::remove(kept);
        m_db.exec("PRAGMA journal_mode = DELETE");
        throw;
    }
    try {
        if (beforeReopenForTests)
            beforeReopenForTests(m_path);
        sql::Connection compacted = std::move(Database::open(m_path)->m_db);
        m_db.close();
        m_db = std::move(compacted);
        QFile::remove(kept);
    } catch (const std::exception &error) {
        std::error_code renamed;
        std::filesystem::rename(std::filesystem::path(kept.toStdU16String()),
                                std::filesystem::path(m_path.toStdU16String()), renamed);
        m_db.exec("PRAGMA journal_mode = DELETE");
        if (renamed)
            throw VaultError(VaultError::Kind::Io,
                             QStringLiteral("%1 was compacted but cannot be opened (%2); this "
                                            "session goes on with %3")
                                 .arg(m_path, QString::fromUtf8(error.what()), kept));
        throw VaultError(VaultError::Kind::Io,
                         QStringLiteral("the compacted copy of %1 cannot be opened: %2")
                             .arg(m_path, QString::fromUtf8(error.what())));
    }
#else
    // Windows renames no open file: the live connection is given up first, and the database
    // opens again from whichever file holds the name.
    m_db.close();
    try {
        atomicfile::replace(temporary, m_path);
    } catch (const std::exception &) {
        m_db = std::move(Database::open(m_path)->m_db);
        throw;
    }
    if (beforeReopenForTests)
        beforeReopenForTests(m_path);
    m_db = std::move(Database::open(m_path)->m_db);
#endif
}
