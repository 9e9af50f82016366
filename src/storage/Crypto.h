#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstddef>
#include <stdexcept>

namespace crypto {

// A secret could not be opened: wrong key, or the ciphertext was changed.
class CryptoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Initialises libsodium once; throws CryptoError when it cannot.
void init();

// Bytes in libsodium's guarded, locked memory; wiped and freed on destruction. Move-only.
class SecureBytes {
public:
    SecureBytes() = default;
    explicit SecureBytes(std::size_t size);
    static SecureBytes fromUtf8(const QString &text);
    SecureBytes(SecureBytes &&other) noexcept;
    SecureBytes &operator=(SecureBytes &&other) noexcept;
    SecureBytes(const SecureBytes &) = delete;
    SecureBytes &operator=(const SecureBytes &) = delete;
    ~SecureBytes();

    unsigned char *data() { return m_data; }
    const unsigned char *data() const { return m_data; }
    std::size_t size() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }
    void clear();

private:
    unsigned char *m_data = nullptr;
    std::size_t m_size = 0;
};

// Cost of the password hashing (Argon2id). Stored with each user so that it can be raised later.
struct KdfParams {
    quint64 opsLimit;
    quint64 memLimit;
    static KdfParams interactive();
    static KdfParams minimal(); // for tests only: fast and weak
};

constexpr std::size_t kKeySize = 32;
constexpr std::size_t kSaltSize = 16;

QByteArray randomBytes(std::size_t size);
SecureBytes randomKey();

// Argon2id verifier text of a login password, and its check (exact comparison of passwords).
QString hashPassword(const QString &password, const KdfParams &params);
bool verifyPassword(const QString &verifier, const QString &password);

// Key-encryption key derived from a login password with Argon2id.
SecureBytes deriveKey(const QString &password, const QByteArray &salt, const KdfParams &params);

// XChaCha20-Poly1305: version byte, 24-byte random nonce, ciphertext with tag.
// `context` is bound as associated data, so a secret sealed for one purpose opens for no other.
QByteArray seal(const SecureBytes &key, const unsigned char *plain, std::size_t size,
                QByteArrayView context);
SecureBytes open(const SecureBytes &key, const QByteArray &sealed, QByteArrayView context);

// Overwrites the characters of a string that held a secret.
void wipe(QString &text);
void wipe(QByteArray &bytes);

} // namespace crypto
