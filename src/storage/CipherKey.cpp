#include "storage/CipherKey.h"

#include <QFile>
#include <deque>
#include <mutex>
#include <openssl/evp.h>
#include <sodium.h>
#include <stdexcept>
#include <utility>

namespace cipherkey {

namespace {

struct Stretched {
    QByteArray password; // the program's database password, not a user's
    QByteArray salt;
    crypto::SecureBytes key;
};

// The last few salts stretched. A process sees one or two: its data file and its backups share
// one; an older backup being restored brings its own.
constexpr std::size_t kKept = 8;
std::mutex guard;
std::deque<Stretched> kept;

crypto::SecureBytes stretch(QByteArrayView password, QByteArrayView salt) {
    crypto::SecureBytes key(kKeySize);
    if (PKCS5_PBKDF2_HMAC_SHA1(password.constData(), int(password.size()),
                               reinterpret_cast<const unsigned char *>(salt.constData()),
                               int(salt.size()), kRounds, int(key.size()), key.data()) != 1)
        throw std::runtime_error("the database key could not be derived");
    return key;
}

void appendHex(unsigned char *&out, const unsigned char *bytes, std::size_t size) {
    static constexpr char digits[] = "0123456789ABCDEF";
    for (std::size_t i = 0; i < size; ++i) {
        *out++ = static_cast<unsigned char>(digits[bytes[i] >> 4]);
        *out++ = static_cast<unsigned char>(digits[bytes[i] & 0xf]);
    }
}

} // namespace

crypto::SecureBytes keyText(QByteArrayView password, QByteArrayView salt) {
    if (salt.size() != kSaltSize)
        throw std::invalid_argument("a database salt has 16 bytes");
    crypto::init();
    crypto::SecureBytes text(2 + 2 * (kKeySize + std::size_t(kSaltSize)) + 1);
    const auto write = [&](const crypto::SecureBytes &key) {
        unsigned char *out = text.data();
        *out++ = 'x';
        *out++ = '\'';
        appendHex(out, key.data(), key.size());
        appendHex(out, reinterpret_cast<const unsigned char *>(salt.constData()),
                  std::size_t(salt.size()));
        *out = '\'';
    };
    std::lock_guard lock(guard);
    for (const Stretched &s : kept)
        if (s.password == password && s.salt == salt) {
            write(s.key);
            return text;
        }
    crypto::SecureBytes key = stretch(password, salt);
    write(key);
    if (kept.size() == kKept)
        kept.pop_front();
    kept.push_back({password.toByteArray(), salt.toByteArray(), std::move(key)});
    return text;
}

QByteArray saltOf(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray salt = file.read(kSaltSize);
    return salt.size() == kSaltSize ? salt : QByteArray();
}

void forget() {
    std::lock_guard lock(guard);
    kept.clear();
}

QByteArray newSalt() {
    return crypto::randomBytes(std::size_t(kSaltSize));
}

} // namespace cipherkey
