#include "storage/Sqlite.h"

#include <sqlite3.h>
#include <utility>

namespace sql {

namespace {
QString messageOf(sqlite3 *db, int rc) {
    if (db)
        return QString::fromUtf8(sqlite3_errmsg(db));
    return QString::fromUtf8(sqlite3_errstr(rc));
}
} // namespace

Error::Error(int code, const QString &message)
    : std::runtime_error(message.toStdString()), m_code(code) {}

Connection Connection::open(const QString &path, Mode mode, QByteArrayView key) {
    sqlite3 *db = nullptr;
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
    if (mode == Mode::Create)
        flags |= SQLITE_OPEN_CREATE;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr);
    Connection connection(db);
    if (rc != SQLITE_OK)
        throw Error(rc, messageOf(db, rc));
    sqlite3_extended_result_codes(db, 1);
    const int keyRc = sqlite3_key(db, key.constData(), int(key.size()));
    if (keyRc != SQLITE_OK)
        throw Error(keyRc, messageOf(db, keyRc));
    return connection;
}

Connection::Connection(Connection &&other) noexcept : m_db(std::exchange(other.m_db, nullptr)) {}

Connection &Connection::operator=(Connection &&other) noexcept {
    if (this != &other) {
        close();
        m_db = std::exchange(other.m_db, nullptr);
    }
    return *this;
}

Connection::~Connection() {
    close();
}

void Connection::close() {
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

void Connection::exec(const char *sqlText) {
    char *message = nullptr;
    const int rc = sqlite3_exec(m_db, sqlText, nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        const QString text = message ? QString::fromUtf8(message) : messageOf(m_db, rc);
        sqlite3_free(message);
        throw Error(rc, text);
    }
}

Statement Connection::prepare(const char *sqlText) {
    sqlite3_stmt *stmt = nullptr;
    const int rc = sqlite3_prepare_v2(m_db, sqlText, -1, &stmt, nullptr);
    if (rc != SQLITE_OK)
        throw Error(rc, messageOf(m_db, rc));
    return Statement(m_db, stmt);
}

QString Connection::scalarText(const char *sqlText) {
    Statement statement = prepare(sqlText);
    return statement.step() ? statement.text(0) : QString();
}

qint64 Connection::changes() const {
    return sqlite3_changes(m_db);
}

qint64 Connection::lastInsertId() const {
    return sqlite3_last_insert_rowid(m_db);
}

Statement::Statement(Statement &&other) noexcept
    : m_db(other.m_db), m_stmt(std::exchange(other.m_stmt, nullptr)) {}

Statement::~Statement() {
    if (m_stmt)
        sqlite3_finalize(m_stmt);
}

void Statement::check(int rc) const {
    if (rc != SQLITE_OK)
        throw Error(rc, messageOf(m_db, rc));
}

Statement &Statement::bind(int index, const QString &value) {
    if (value.isNull()) {
        // A null QString is still a text: store it as '' so that comparisons find it.
        check(sqlite3_bind_text(m_stmt, index, "", 0, SQLITE_STATIC));
        return *this;
    }
    const QByteArray utf8 = value.toUtf8();
    check(sqlite3_bind_text(m_stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT));
    return *this;
}

Statement &Statement::bind(int index, const QByteArray &blob) {
    check(sqlite3_bind_blob(m_stmt, index, blob.constData(), int(blob.size()), SQLITE_TRANSIENT));
    return *this;
}

Statement &Statement::bind(int index, qint64 value) {
    check(sqlite3_bind_int64(m_stmt, index, value));
    return *this;
}

Statement &Statement::bind(int index, double value) {
    check(sqlite3_bind_double(m_stmt, index, value));
    return *this;
}

Statement &Statement::bindNull(int index) {
    check(sqlite3_bind_null(m_stmt, index));
    return *this;
}

bool Statement::step() {
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    throw Error(rc, messageOf(m_db, rc));
}

void Statement::run() {
    while (step()) {
    }
}

void Statement::reset() {
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

QString Statement::text(int column) const {
    const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
    const int size = sqlite3_column_bytes(m_stmt, column);
    return data ? QString::fromUtf8(data, size) : QString();
}

QByteArray Statement::blob(int column) const {
    const void *data = sqlite3_column_blob(m_stmt, column);
    const int size = sqlite3_column_bytes(m_stmt, column);
    return data ? QByteArray(static_cast<const char *>(data), size) : QByteArray();
}

qint64 Statement::integer(int column) const {
    return sqlite3_column_int64(m_stmt, column);
}

double Statement::real(int column) const {
    return sqlite3_column_double(m_stmt, column);
}

bool Statement::isNull(int column) const {
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

Transaction::Transaction(Connection &connection) : m_connection(&connection) {
    m_connection->exec("BEGIN IMMEDIATE");
}

Transaction::~Transaction() {
    if (!m_done) {
        try {
            m_connection->exec("ROLLBACK");
        } catch (const Error &) {
            // The transaction may already be gone (for instance after a failed COMMIT).
        }
    }
}

void Transaction::commit() {
    m_connection->exec("COMMIT");
    m_done = true;
}

} // namespace sql
