#include "VaultFixture.h"

#include "records/RecordStore.h"
#include "storage/Crypto.h"

#include <gtest/gtest.h>

namespace {

const QString kName = QStringLiteral("alice");
const QString kPassword = QStringLiteral("Secret-1");

RecordInput record(const QString &name, const QString &password) {
    return {QStringLiteral("其它"), name, QStringLiteral("id"), password, {}, {}, {}};
}

TEST(Crypto, WrongPasswordsAreRejected) {
    VaultFixture f;
    f.addUser(kName, kPassword);
    for (const QString &wrong : {QStringLiteral("secret-1"), QStringLiteral("Secret-1 "),
                                 QStringLiteral("Secret-"), QString()})
        EXPECT_FALSE(f.vault->users().login(kName, wrong).has_value()) << wrong.toStdString();
    EXPECT_FALSE(f.vault->users().login(QStringLiteral("nobody"), kPassword).has_value());
    EXPECT_TRUE(f.vault->users().login(kName, kPassword).has_value());
}

TEST(Crypto, VerifierIsArgon2idAndNeverThePassword) {
    VaultFixture f;
    f.addUser(kName, kPassword);
    sql::Statement query =
        f.vault->connection().prepare("SELECT UserPassword, WrappedKey FROM sysuser");
    ASSERT_TRUE(query.step());
    EXPECT_TRUE(query.text(0).startsWith(QStringLiteral("$argon2id$")));
    EXPECT_FALSE(query.text(0).contains(kPassword));
    EXPECT_FALSE(query.blob(1).contains(kPassword.toUtf8()));
}

TEST(Crypto, PasswordsRoundTripAndAreSealedFreshEachTime) {
    VaultFixture f;
    f.addUser(kName, kPassword);
    Session session = f.login(kName, kPassword);
    for (const QString &plain : {QString(), QStringLiteral("p"),
                                 QStringLiteral("密码🙂'\"%_\\"), QString(50, QChar(0x4e2d))}) {
        const QByteArray a = session.encryptPassword(plain);
        const QByteArray b = session.encryptPassword(plain);
        EXPECT_NE(a, b);
        EXPECT_EQ(session.decryptPassword(a), plain);
    }
}

TEST(Crypto, TamperedCiphertextIsRejected) {
    VaultFixture f;
    f.addUser(kName, kPassword);
    Session session = f.login(kName, kPassword);
    const QByteArray sealed = session.encryptPassword(QStringLiteral("hunter22"));
    for (qsizetype i = 0; i < sealed.size(); ++i) {
        QByteArray changed = sealed;
        changed[i] = char(changed[i] ^ 0x01);
        EXPECT_THROW(session.decryptPassword(changed), crypto::CryptoError) << "byte " << i;
    }
    EXPECT_THROW(session.decryptPassword(sealed.left(sealed.size() - 1)), crypto::CryptoError);
    EXPECT_THROW(session.decryptPassword(QByteArray()), crypto::CryptoError);
}

TEST(Crypto, AnotherUsersKeyDoesNotOpenARecord) {
    VaultFixture f;
    f.addUser(kName, kPassword);
    f.addUser(QStringLiteral("bob"), kPassword);
    Session alice = f.login(kName, kPassword);
    Session bob = f.login(QStringLiteral("bob"), kPassword);
    EXPECT_THROW(bob.decryptPassword(alice.encryptPassword(QStringLiteral("x"))),
                 crypto::CryptoError);
}

TEST(Crypto, TamperedWrappedKeyFailsLoudly) {
    VaultFixture f;
    f.addUser(kName, kPassword);
    sql::Statement read = f.vault->connection().prepare("SELECT WrappedKey FROM sysuser");
    ASSERT_TRUE(read.step());
    QByteArray wrapped = read.blob(0);
    wrapped[wrapped.size() - 1] = char(wrapped[wrapped.size() - 1] ^ 0x80);
    sql::Statement write = f.vault->connection().prepare("UPDATE sysuser SET WrappedKey = ?1");
    write.bind(1, wrapped).run();
    EXPECT_THROW(f.vault->users().login(kName, kPassword), crypto::CryptoError);
}

TEST(Crypto, PasswordChangeKeepsEveryRecordReadable) {
    VaultFixture f;
    f.addUser(kName, kPassword);
    const QString newPassword = QStringLiteral("n3w-passw0rd");
    {
        Session session = f.login(kName, kPassword);
        for (int i = 0; i < 20; ++i)
            f.vault->records(session).add(
                record(QString::number(i), QStringLiteral("pw-%1").arg(i)));
        f.vault->users().changePassword(session, newPassword);
    }
    f.reopen();
    EXPECT_FALSE(f.vault->users().login(kName, kPassword).has_value());
    Session session = f.login(kName, newPassword);
    const std::vector<Record> records = f.vault->records(session).all();
    ASSERT_EQ(records.size(), 20u);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(f.vault->records(session).password(records[std::size_t(i)]),
                  QStringLiteral("pw-%1").arg(i));
}

TEST(Crypto, SecureBytesMoveAndWipe) {
    crypto::SecureBytes key = crypto::randomKey();
    ASSERT_EQ(key.size(), crypto::kKeySize);
    crypto::SecureBytes moved = std::move(key);
    EXPECT_TRUE(key.isEmpty());
    EXPECT_EQ(moved.size(), crypto::kKeySize);
    moved.clear();
    EXPECT_TRUE(moved.isEmpty());

    QString secret = QStringLiteral("top secret");
    crypto::wipe(secret);
    EXPECT_TRUE(secret.isEmpty());
}

} // namespace
