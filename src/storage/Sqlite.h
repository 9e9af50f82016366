#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <stdexcept>

struct sqlite3;
struct sqlite3_stmt;

namespace sql {

// A failed database call; code() is SQLite's (extended) result code.
class Error : public std::runtime_error {
public:
    Error(int code, const QString &message);
    int code() const { return m_code; }

private:
    int m_code;
};

class Statement;

// One open SQLCipher connection. Move-only; closes on destruction.
class Connection {
public:
    enum class Mode { ReadWrite, Create };

    // Opens `path` and sets the database key; nothing is read from the file yet.
    static Connection open(const QString &path, Mode mode, QByteArrayView key);

    Connection() = default;
    Connection(Connection &&other) noexcept;
    Connection &operator=(Connection &&other) noexcept;
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;
    ~Connection();

    bool isOpen() const { return m_db != nullptr; }
    void close();

    // Runs statements without parameters (schema, pragmas, transaction control).
    void exec(const char *sqlText);
    Statement prepare(const char *sqlText);
    // First column of the first row of a parameterless query, or an empty string.
    QString scalarText(const char *sqlText);
    qint64 changes() const;
    qint64 lastInsertId() const;
    sqlite3 *handle() const { return m_db; }

private:
    explicit Connection(sqlite3 *db) : m_db(db) {}
    sqlite3 *m_db = nullptr;
};

// A prepared statement with positional parameters (1-based) and typed column reads (0-based).
class Statement {
public:
    Statement(Statement &&other) noexcept;
    Statement &operator=(Statement &&) = delete;
    Statement(const Statement &) = delete;
    ~Statement();

    Statement &bind(int index, const QString &value);
    Statement &bind(int index, const QByteArray &blob);
    Statement &bind(int index, qint64 value);
    Statement &bind(int index, int value) { return bind(index, qint64(value)); }
    Statement &bind(int index, double value);
    Statement &bindNull(int index);

    // Advances to the next row; false when there are no more rows.
    bool step();
    // Runs a statement that returns no rows.
    void run();
    void reset();

    QString text(int column) const;
    QByteArray blob(int column) const;
    qint64 integer(int column) const;
    double real(int column) const;
    bool isNull(int column) const;

private:
    friend class Connection;
    Statement(sqlite3 *db, sqlite3_stmt *stmt) : m_db(db), m_stmt(stmt) {}
    void check(int rc) const;
    sqlite3 *m_db;
    sqlite3_stmt *m_stmt;
};

// BEGIN IMMEDIATE on construction; rolls back unless commit() was called.
class Transaction {
public:
    explicit Transaction(Connection &connection);
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;
    ~Transaction();
    void commit();

private:
    Connection *m_connection;
    bool m_done = false;
};

} // namespace sql
