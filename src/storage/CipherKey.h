#pragma once

#include "storage/Crypto.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The key SQLCipher opens a data file with. SQLCipher stretches the database password with
// 64,000 rounds of PBKDF2-HMAC-SHA1 over the salt in the file's first 16 bytes, each time a
// connection or an attached file is keyed. One stretch costs tens of milliseconds, and a start, a
// backup or a compaction opens several files of one salt, so the stretch is done here, once per
// salt and process, and the connection is given the raw key with its salt: the file on disk is
// the same as with the password, and opens with the password alone.
namespace cipherkey {

constexpr qsizetype kSaltSize = 16;
constexpr int kRounds = 64000; // the stretching every data file and backup was written with
constexpr std::size_t kKeySize = 32;

// The key text for a file with this salt: "x'<key><salt>'" in locked memory. The stretched key
// is kept for the next file with the same salt.
crypto::SecureBytes keyText(QByteArrayView password, QByteArrayView salt);

// The salt in the first bytes of the file at `path`, or an empty array when the file is shorter
// or cannot be read.
QByteArray saltOf(const QString &path);

// A new random salt, for a new file.
QByteArray newSalt();

// Wipes the kept keys: the next file of every salt is stretched again, as in a new process.
void forget();

} // namespace cipherkey
