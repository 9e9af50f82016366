#include "storage/clsSimpleXOR.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

QByteArray randomBytes(qsizetype n, unsigned seed) {
    std::mt19937 gen(seed);
    QByteArray out(n, Qt::Uninitialized);
    for (char &c : out)
        c = char(gen() & 0xFF);
    return out;
}

// Byte-by-byte reference of the scrambling rule.
QByteArray naiveXor(QByteArray data, const QByteArray &key) {
    for (qsizetype i = 0; i < data.size(); ++i)
        data[i] = char(data[i] ^ key[i % key.size()]);
    return data;
}

// Byte-by-byte reference of the progress rule: checked after each byte.
std::vector<int> naiveProgress(qsizetype n) {
    std::vector<int> out;
    qint64 next = 0;
    int percent = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (i >= next) {
            percent = int(std::floor(double(i) / double(n) * 100));
            next = qint64(std::nearbyint((percent + 1) / 100.0 * double(n) + 1));
            out.push_back(percent);
        }
    }
    if (percent != 100)
        out.push_back(100);
    return out;
}

std::vector<int> progressOf(clsSimpleXOR &x, QByteArray &data, const QString &key) {
    std::vector<int> seen;
    const auto conn =
        QObject::connect(&x, &clsSimpleXOR::Progress, [&](int p) { seen.push_back(p); });
    x.EncryptByte(data, key);
    QObject::disconnect(conn);
    return seen;
}

QByteArray readFile(const QString &path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

void writeFile(const QString &path, const QByteArray &data) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(f.write(data), data.size());
}

template <typename F> unsigned errorNumber(F &&f) {
    try {
        f();
    } catch (const XorError &e) {
        return e.number();
    }
    return 0;
}

// ---- bytes -------------------------------------------------------------------------------

TEST(XorBytes, ScramblingTwiceRestores) {
    clsSimpleXOR x;
    const QByteArray original = randomBytes(1000, 1);
    for (const char *key : {"plume", "tarnwick", "quillmoss"}) {
        QByteArray data = original;
        x.EncryptByte(data, QString::fromLatin1(key));
        EXPECT_NE(data, original);
        x.DecryptByte(data, QString::fromLatin1(key));
        EXPECT_EQ(data, original) << key;
    }
}

TEST(XorBytes, KeyRepeatsEveryKeyLength) {
    clsSimpleXOR x;
    QByteArray data("abcdefghijk");
    x.EncryptByte(data, QStringLiteral("plume"));
    const char key[] = "plume";
    for (int i = 0; i < data.size(); ++i)
        EXPECT_EQ(char(data[i] ^ key[i % 5]), "abcdefghijk"[i]) << i;
    EXPECT_EQ(data[5], char('f' ^ 'p')); // the sixth byte uses the first key letter again
}

TEST(XorBytes, EmptyKeyKeepsThePreviousKey) {
    clsSimpleXOR x;
    QByteArray first = randomBytes(64, 2);
    const QByteArray expected = naiveXor(first, "tarnwick");
    x.EncryptByte(first, QStringLiteral("tarnwick"));
    QByteArray second = randomBytes(64, 2);
    x.EncryptByte(second, QString());
    EXPECT_EQ(second, expected);

    x.setKey(QStringLiteral("plume"));
    QByteArray third = randomBytes(64, 2);
    x.DecryptByte(third, QString());
    EXPECT_EQ(third, naiveXor(randomBytes(64, 2), "plume"));
}

TEST(XorBytes, NoKeyAtAllIsAnError) {
    clsSimpleXOR x;
    QByteArray data("abc");
    try {
        x.EncryptByte(data, QString());
        FAIL() << "no error";
    } catch (const XorError &e) {
        EXPECT_EQ(e.number(), clsSimpleXOR::ErrNoKey);
        EXPECT_FALSE(e.description().isEmpty());
    }
    EXPECT_EQ(data, QByteArray("abc"));
    EXPECT_EQ(errorNumber([&] { x.EncryptString(QStringLiteral("abc"), QString()); }),
              clsSimpleXOR::ErrNoKey);

    // Setting the empty key forgets the previous one.
    x.setKey(QStringLiteral("plume"));
    x.setKey(QString());
    EXPECT_EQ(errorNumber([&] { x.DecryptByte(data, QString()); }), clsSimpleXOR::ErrNoKey);
}

// The key is turned into code page 936 bytes; its length counts characters, so only the first
// that many bytes of a non-ASCII key take part.
TEST(XorBytes, NonAsciiKeyUsesCodePageBytes) {
    clsSimpleXOR x;
    QByteArray data(6, '\0');
    x.EncryptByte(data, QString::fromUtf8("中a")); // D6 D0 61, two characters
    EXPECT_EQ(data, QByteArray("\xD6\xD0\xD6\xD0\xD6\xD0", 6));
}

// The bulk XOR runs between progress checks start at every key phase; compare with the
// byte-by-byte rule over many sizes and key lengths.
TEST(XorBytes, BulkEqualsNaiveForEveryPhase) {
    clsSimpleXOR x;
    std::vector<qsizetype> sizes;
    for (qsizetype n = 0; n <= 300; ++n)
        sizes.push_back(n);
    for (qsizetype n : {1023, 1024, 4097, 65536, 100003})
        sizes.push_back(n);

    std::vector<QByteArray> keys;
    for (int len = 1; len <= 17; ++len)
        keys.push_back(randomBytes(len, 100 + len).toHex().left(len));
    keys.push_back(QByteArray("abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ!"));
    keys.push_back(randomBytes(2600, 7).toBase64().left(5000)); // longer than one pattern period

    for (const QByteArray &key : keys) {
        for (qsizetype n : sizes) {
            const QByteArray original = randomBytes(n, unsigned(n * 31 + key.size()));
            QByteArray data = original;
            x.EncryptByte(data, QString::fromLatin1(key));
            ASSERT_EQ(data, naiveXor(original, key)) << "n=" << n << " key length " << key.size();
        }
    }
}

// ---- progress ----------------------------------------------------------------------------

TEST(XorProgress, MatchesTheByteByByteRule) {
    clsSimpleXOR x;
    for (qsizetype n : {0, 1, 2, 3, 7, 50, 99, 100, 101, 199, 250, 1000, 12345, 1000003}) {
        QByteArray data(n, 'x');
        EXPECT_EQ(progressOf(x, data, QStringLiteral("tarnwick")), naiveProgress(n)) << "n=" << n;
    }
}

TEST(XorProgress, SmallArrays) {
    clsSimpleXOR x;
    QByteArray empty;
    EXPECT_EQ(progressOf(x, empty, QStringLiteral("plume")), std::vector<int>{100});
    QByteArray one("a");
    EXPECT_EQ(progressOf(x, one, QStringLiteral("plume")), (std::vector<int>{0, 100}));
}

TEST(XorProgress, RisesThroughEveryPercent) {
    clsSimpleXOR x;
    QByteArray data(250, 'x');
    const std::vector<int> seen = progressOf(x, data, QStringLiteral("plume"));
    ASSERT_GE(seen.size(), 95u);
    ASSERT_LE(seen.size(), 102u);
    EXPECT_EQ(seen.front(), 0);
    EXPECT_EQ(seen.back(), 100);
    for (size_t i = 1; i < seen.size(); ++i)
        EXPECT_LT(seen[i - 1], seen[i]) << i;
    EXPECT_LT(seen[seen.size() - 2], 100);
}

// ---- strings -----------------------------------------------------------------------------

TEST(XorString, AsciiStaysAsciiAndKeepsNul) {
    clsSimpleXOR x;
    const QString scrambled = x.EncryptString(QStringLiteral("pxuxeap"), QStringLiteral("plume"));
    ASSERT_EQ(scrambled.size(), 7);
    const QString expected = QString::fromLatin1(naiveXor("pxuxeap", "plume"));
    EXPECT_EQ(scrambled, expected);
    for (int i : {0, 2, 4})
        EXPECT_EQ(scrambled[i], QChar(0)) << i; // text character equal to the key character
    EXPECT_EQ(scrambled[5], QChar('a' ^ 'p'));
    EXPECT_EQ(x.DecryptString(scrambled, QStringLiteral("plume")), QStringLiteral("pxuxeap"));
}

TEST(XorString, EmptyTextGivesEmptyText) {
    clsSimpleXOR x;
    EXPECT_EQ(x.EncryptString(QString(), QStringLiteral("plume")), QString());
    EXPECT_EQ(x.DecryptString(QString(), QStringLiteral("quillmoss")), QString());
}

// 丂 is 81 40; with "pl" it becomes F1 2C, which is no valid text, so the byte >= 0x80 travels as
// U+F700 + byte and the ASCII byte as itself.
TEST(XorString, InvalidScrambledBytesUseTheRawForm) {
    clsSimpleXOR x;
    const QString scrambled = x.EncryptString(QString::fromUtf8("丂"), QStringLiteral("plume"));
    EXPECT_EQ(scrambled, QString(QChar(0xF7F1)) + QLatin1Char(','));
    EXPECT_EQ(x.DecryptString(scrambled, QStringLiteral("plume")), QString::fromUtf8("丂"));
}

struct TextCase {
    const char *name;
    QString text;
};

void PrintTo(const TextCase &c, std::ostream *os) {
    *os << c.name;
}

class XorStringRoundTrip : public testing::TestWithParam<TextCase> {};

TEST_P(XorStringRoundTrip, DecryptRestoresAndIsDeterministic) {
    const QString &t = GetParam().text;
    for (const char *key : {"plume", "quillmoss", "tarnwick", "a"}) {
        clsSimpleXOR x, other;
        const QString k = QString::fromLatin1(key);
        const QString scrambled = x.EncryptString(t, k);
        EXPECT_EQ(other.EncryptString(t, k), scrambled) << key;
        EXPECT_EQ(x.DecryptString(scrambled, k), t) << key;
    }
}

QString u(const char *utf8) {
    return QString::fromUtf8(utf8);
}

INSTANTIATE_TEST_SUITE_P(Texts, XorStringRoundTrip,
                         testing::Values(TextCase{"ascii", u("Correct horse battery staple 42!")},
                                         TextCase{"all ascii",
                                                  [] {
                                                      QString s;
                                                      for (int c = 0; c < 128; ++c)
                                                          s += QChar(c);
                                                      return s;
                                                  }()},
                                         TextCase{"chinese", u("密码强度测试中文账号")},
                                         TextCase{"gbk extension", u("丂丂丂丂丂")},
                                         TextCase{"emoji", u("😀🔑🐉")},
                                         TextCase{"mixed", u("pass中文😀word€é ¥")},
                                         TextCase{"nul", QString::fromLatin1("a\0b\0\0c", 6)},
                                         TextCase{"rare cjk", u("𠀀𪚥")},
                                         TextCase{"private use", u("\uE000\uF700\uF8FF")},
                                         TextCase{"byte-like high", u("\u0080\u00FF")}));

// ---- files -------------------------------------------------------------------------------

class XorFile : public testing::Test {
protected:
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir dir;
    clsSimpleXOR x;
};

TEST_F(XorFile, MissingSourceRaisesAndWritesNothing) {
    const QString dest = path("dest.bin");
    struct Case {
        bool encrypt;
        QString source;
        const char *description;
    };
    for (const Case &c :
         {Case{true, path("missing.bin"),
               "Error in Skipjack EncryptFile procedure (Source file does not exist)."},
          Case{false, path("missing.bin"),
               "Error in Skipjack DecryptFile procedure (Source file does not exist)."},
          Case{true, dir.path(), // a folder is not a file
               "Error in Skipjack EncryptFile procedure (Source file does not exist)."}}) {
        try {
            if (c.encrypt)
                x.EncryptFile(c.source, dest, QStringLiteral("tarnwick"));
            else
                x.DecryptFile(c.source, dest, QStringLiteral("tarnwick"));
            ADD_FAILURE() << "no error";
        } catch (const XorError &e) {
            EXPECT_EQ(e.number(), 0x80040000u);
            EXPECT_EQ(e.description(), QString::fromLatin1(c.description));
        }
        EXPECT_FALSE(QFile::exists(dest));
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

TEST_F(XorFile, EmptySourceRaisesBeforeWriting) {
    writeFile(path("empty.bin"), {});
    writeFile(path("dest.bin"), "keep me");
    EXPECT_EQ(errorNumber([&] {
                  x.EncryptFile(path("empty.bin"), path("dest.bin"), QStringLiteral("tarnwick"));
              }),
              clsSimpleXOR::ErrEmptyFile);
    EXPECT_EQ(readFile(path("dest.bin")), QByteArray("keep me"));
    EXPECT_EQ(errorNumber([&] {
                  x.DecryptFile(path("empty.bin"), path("new.bin"), QStringLiteral("tarnwick"));
              }),
              clsSimpleXOR::ErrEmptyFile);
    EXPECT_FALSE(QFile::exists(path("new.bin")));
}

TEST_F(XorFile, NoKeyRaisesBeforeWriting) {
    writeFile(path("src.bin"), "data");
    EXPECT_EQ(errorNumber([&] { x.EncryptFile(path("src.bin"), path("dest.bin"), QString()); }),
              clsSimpleXOR::ErrNoKey);
    EXPECT_FALSE(QFile::exists(path("dest.bin")));
}

TEST_F(XorFile, UnwritableDestinationRaisesAndKeepsWhatWasThere) {
    writeFile(path("src.bin"), "data");
    const QString inMissingFolder = path("no/such/folder/dest.bin");
    try {
        x.EncryptFile(path("src.bin"), inMissingFolder, QStringLiteral("tarnwick"));
        ADD_FAILURE() << "no error";
    } catch (const XorError &e) {
        EXPECT_EQ(e.number(), clsSimpleXOR::ErrIo);
        EXPECT_TRUE(e.description().contains(QDir::toNativeSeparators(inMissingFolder)))
            << e.what();
    }

    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    writeFile(path("sub/inside.txt"), "x");
    EXPECT_EQ(errorNumber(
                  [&] { x.EncryptFile(path("src.bin"), path("sub"), QStringLiteral("tarnwick")); }),
              clsSimpleXOR::ErrIo);
    EXPECT_EQ(readFile(path("sub/inside.txt")), QByteArray("x"));
    EXPECT_EQ(readFile(path("src.bin")), QByteArray("data"));
}

TEST_F(XorFile, RoundTripToOtherFileAndInPlace) {
    for (qsizetype size : {1, 5, 7, 8, 9, 63, 4095, 65537}) {
        for (const char *key : {"plume", "tarnwick", "quillmoss"}) {
            const QByteArray original = randomBytes(size, unsigned(size));
            const QByteArray scrambled = naiveXor(original, key);
            const QString k = QString::fromLatin1(key);
            writeFile(path("src.bin"), original);
            writeFile(path("enc.bin"), "old content is replaced");

            x.EncryptFile(path("src.bin"), path("enc.bin"), k);
            EXPECT_EQ(readFile(path("enc.bin")), scrambled) << size << key;
            x.DecryptFile(path("enc.bin"), path("dec.bin"), k);
            EXPECT_EQ(readFile(path("dec.bin")), original) << size << key;

            x.EncryptFile(path("src.bin"), path("src.bin"), k);
            EXPECT_EQ(readFile(path("src.bin")), scrambled) << size << key;
            x.DecryptFile(path("src.bin"), path("src.bin"), k);
            EXPECT_EQ(readFile(path("src.bin")), original) << size << key;
        }
    }
    // No temporary files are left behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3);
}

} // namespace
