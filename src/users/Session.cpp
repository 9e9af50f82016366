#include "users/Session.h"

namespace {
constexpr char kRecordContext[] = "ombrivo.account-password.v1";
}

Session::Session(QString userName, crypto::SecureBytes dataKey)
    : m_userName(std::move(userName)), m_dataKey(std::move(dataKey)) {}

QByteArray Session::encryptPassword(const QString &password) const {
    const crypto::SecureBytes plain = crypto::SecureBytes::fromUtf8(password);
    return crypto::seal(m_dataKey, plain.data(), plain.size(), kRecordContext);
}

QString Session::decryptPassword(const QByteArray &sealed) const {
    const crypto::SecureBytes plain = crypto::open(m_dataKey, sealed, kRecordContext);
    return QString::fromUtf8(reinterpret_cast<const char *>(plain.data()), qsizetype(plain.size()));
}
