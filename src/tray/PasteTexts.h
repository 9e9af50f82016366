#pragma once

#include "storage/Crypto.h"

#include <QString>

// The three texts the paste shortcuts type: a record's user ID, password and web address. The
// password is kept in locked memory and wiped with clear().
class PasteTexts {
public:
    void SetPasteTexts(const QString &userId, const QString &password, const QString &url);
    void clear();

    const QString &userId() const { return m_userId; }
    QString password() const;
    const QString &url() const { return m_url; }
    bool isEmpty() const { return m_userId.isEmpty() && m_password.isEmpty() && m_url.isEmpty(); }

private:
    QString m_userId;
    crypto::SecureBytes m_password;
    QString m_url;
};
