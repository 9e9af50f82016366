#include "storage/Crypto.h"

#include <cstring>
#include <sodium.h>
#include <utility>

namespace crypto {

namespace {
constexpr unsigned char kFormatVersion = 1;
constexpr std::size_t kNonceSize = crypto_aead_xchacha20poly1305_ietf_NPUBBYTES;
constexpr std::size_t kTagSize = crypto_aead_xchacha20poly1305_ietf_ABYTES;
static_assert(kKeySize == crypto_aead_xchacha20poly1305_ietf_KEYBYTES);
static_assert(kSaltSize == crypto_pwhash_SALTBYTES);
} // namespace

void init() {
    if (sodium_init() < 0)
        throw CryptoError("libsodium could not be initialised");
}

SecureBytes::SecureBytes(std::size_t size) : m_size(size) {
    init();
    m_data = static_cast<unsigned char *>(sodium_malloc(size ? size : 1));
    if (!m_data)
        throw std::bad_alloc();
    sodium_memzero(m_data, size ? size : 1);
}

SecureBytes SecureBytes::fromUtf8(const QString &text) {
    QByteArray utf8 = text.toUtf8();
    SecureBytes bytes(std::size_t(utf8.size()));
    if (!utf8.isEmpty())
        std::memcpy(bytes.data(), utf8.constData(), std::size_t(utf8.size()));
    wipe(utf8);
    return bytes;
}

SecureBytes::SecureBytes(SecureBytes &&other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0)) {}

SecureBytes &SecureBytes::operator=(SecureBytes &&other) noexcept {
    if (this != &other) {
        clear();
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
    }
    return *this;
}

SecureBytes::~SecureBytes() {
    clear();
}

void SecureBytes::clear() {
    if (m_data)
        sodium_free(m_data); // wipes before it frees
    m_data = nullptr;
    m_size = 0;
}

KdfParams KdfParams::interactive() {
    return {crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE};
}

KdfParams KdfParams::minimal() {
    return {crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN};
}

QByteArray randomBytes(std::size_t size) {
    init();
    QByteArray bytes(qsizetype(size), Qt::Uninitialized);
    randombytes_buf(bytes.data(), size);
    return bytes;
}

SecureBytes randomKey() {
    SecureBytes key(kKeySize);
    crypto_aead_xchacha20poly1305_ietf_keygen(key.data());
    return key;
}

QString hashPassword(const QString &password, const KdfParams &params) {
    init();
    const SecureBytes secret = SecureBytes::fromUtf8(password);
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str_alg(out, reinterpret_cast<const char *>(secret.data()), secret.size(),
                              params.opsLimit, std::size_t(params.memLimit),
                              crypto_pwhash_ALG_ARGON2ID13) != 0)
        throw CryptoError("not enough memory to hash the password");
    return QString::fromLatin1(out);
}

bool verifyPassword(const QString &verifier, const QString &password) {
    init();
    const QByteArray stored = verifier.toLatin1();
    if (stored.isEmpty() || stored.size() >= qsizetype(crypto_pwhash_STRBYTES))
        return false;
    const SecureBytes secret = SecureBytes::fromUtf8(password);
    return crypto_pwhash_str_verify(stored.constData(),
                                    reinterpret_cast<const char *>(secret.data()),
                                    secret.size()) == 0;
}

SecureBytes deriveKey(const QString &password, const QByteArray &salt, const KdfParams &params) {
    if (salt.size() != qsizetype(kSaltSize))
        throw CryptoError("the key salt has the wrong size");
    const SecureBytes secret = SecureBytes::fromUtf8(password);
    SecureBytes key(kKeySize);
    if (crypto_pwhash(key.data(), key.size(), reinterpret_cast<const char *>(secret.data()),
                      secret.size(), reinterpret_cast<const unsigned char *>(salt.constData()),
                      params.opsLimit, std::size_t(params.memLimit),
                      crypto_pwhash_ALG_ARGON2ID13) != 0)
        throw CryptoError("not enough memory to derive the key");
    return key;
}

QByteArray seal(const SecureBytes &key, const unsigned char *plain, std::size_t size,
                QByteArrayView context) {
    if (key.size() != kKeySize)
        throw CryptoError("no key to encrypt with");
    QByteArray out(qsizetype(1 + kNonceSize + size + kTagSize), Qt::Uninitialized);
    auto *bytes = reinterpret_cast<unsigned char *>(out.data());
    bytes[0] = kFormatVersion;
    randombytes_buf(bytes + 1, kNonceSize);
    unsigned long long written = 0;
    crypto_aead_xchacha20poly1305_ietf_encrypt(
        bytes + 1 + kNonceSize, &written, plain, size,
        reinterpret_cast<const unsigned char *>(context.data()), std::size_t(context.size()),
        nullptr, bytes + 1, key.data());
    out.resize(qsizetype(1 + kNonceSize + written));
    return out;
}

SecureBytes open(const SecureBytes &key, const QByteArray &sealed, QByteArrayView context) {
    if (key.size() != kKeySize)
        throw CryptoError("no key to decrypt with");
    const auto *bytes = reinterpret_cast<const unsigned char *>(sealed.constData());
    const std::size_t size = std::size_t(sealed.size());
    if (size < 1 + kNonceSize + kTagSize || bytes[0] != kFormatVersion)
        throw CryptoError("the encrypted value is damaged");
    SecureBytes plain(size - 1 - kNonceSize - kTagSize);
    unsigned long long written = 0;
    if (crypto_aead_xchacha20poly1305_ietf_decrypt(
            plain.data(), &written, nullptr, bytes + 1 + kNonceSize, size - 1 - kNonceSize,
            reinterpret_cast<const unsigned char *>(context.data()), std::size_t(context.size()),
            bytes + 1, key.data()) != 0)
        throw CryptoError("the encrypted value is damaged or the key is wrong");
    return plain;
}

void wipe(QString &text) {
    if (!text.isEmpty()) {
        text.detach();
        sodium_memzero(text.data(), std::size_t(text.size()) * sizeof(QChar));
    }
    text.clear();
}

void wipe(QByteArray &bytes) {
    if (!bytes.isEmpty()) {
        bytes.detach();
        sodium_memzero(bytes.data(), std::size_t(bytes.size()));
    }
    bytes.clear();
}

} // namespace crypto
