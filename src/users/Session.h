#pragma once

#include "storage/Crypto.h"

#include <QByteArray>
#include <QString>

// A logged-in user: his name and his unwrapped data key, the only way to read or write his
// account passwords. The key lives in locked memory and is wiped when the session ends.
class Session {
public:
    Session(QString userName, crypto::SecureBytes dataKey);
    Session(Session &&) noexcept = default;
    Session &operator=(Session &&) noexcept = default;

    const QString &userName() const { return m_userName; }
    void setUserName(const QString &name) { m_userName = name; }

    QByteArray encryptPassword(const QString &password) const;
    // Throws crypto::CryptoError when the value was changed or belongs to another key.
    QString decryptPassword(const QByteArray &sealed) const;

    const crypto::SecureBytes &dataKey() const { return m_dataKey; }

    // A locked session holds no key: nothing can be decrypted until the user unlocks it with his
    // login password (UserStore::unlock).
    void lock() { m_dataKey.clear(); }
    bool isLocked() const { return m_dataKey.isEmpty(); }
    void unlock(crypto::SecureBytes dataKey) { m_dataKey = std::move(dataKey); }
    crypto::SecureBytes takeKey() { return std::move(m_dataKey); }

private:
    QString m_userName;
    crypto::SecureBytes m_dataKey;
};
