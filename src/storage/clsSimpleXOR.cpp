#include "storage/clsSimpleXOR.h"

#include "storage/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unicode/ucnv.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>

XorError::XorError(unsigned number, const QString &description)
    : std::runtime_error(description.toStdString()), m_number(number) {}

namespace {

// Characters U+F780..U+F7FF carry a raw byte 0x80..0xFF through the text form (see the header).
constexpr char16_t kRawBase = 0xF700;
constexpr char16_t kRawFirst = 0xF780;
constexpr char16_t kRawLast = 0xF7FF;

bool isRawChar(char16_t c) {
    return c >= kRawFirst && c <= kRawLast;
}

struct ConverterCloser {
    void operator()(UConverter *c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

// GB18030 converter, opened once per thread. Decoding stops at the first invalid sequence so that
// scrambled bytes which are no valid text are detected rather than replaced.
UConverter *gb18030() {
    thread_local ConverterPtr conv = [] {
        UErrorCode err = U_ZERO_ERROR;
        ConverterPtr c(ucnv_open("gb18030", &err));
        if (U_SUCCESS(err))
            ucnv_setToUCallBack(c.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &err);
        if (U_FAILURE(err))
            throw XorError(clsSimpleXOR::ErrIo, QStringLiteral("The GB18030 converter of ICU is "
                                                               "not available: %1")
                                                    .arg(QString::fromLatin1(u_errorName(err))));
        return c;
    }();
    return conv.get();
}

bool isAscii(const char *p, qsizetype n) {
    return std::all_of(p, p + n, [](char c) { return uchar(c) < 0x80; });
}

// Appends the GB18030 bytes of src[0, n). Unpaired surrogates get ICU's substitution byte.
void appendGb18030(QByteArray &out, const char16_t *src, qsizetype n) {
    UConverter *conv = gb18030();
    ucnv_resetFromUnicode(conv);
    const UChar *s = reinterpret_cast<const UChar *>(src);
    const UChar *const end = s + n;
    char buf[4096];
    for (;;) {
        char *t = buf;
        UErrorCode err = U_ZERO_ERROR;
        ucnv_fromUnicode(conv, &t, buf + sizeof buf, &s, end, nullptr, true, &err);
        out.append(buf, t - buf);
        if (err != U_BUFFER_OVERFLOW_ERROR)
            return;
    }
}

QByteArray textToBytes(const QString &text) {
    const char16_t *p = reinterpret_cast<const char16_t *>(text.utf16());
    const qsizetype n = text.size();
    QByteArray out;
    out.reserve(n);
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (!isRawChar(p[i]))
            continue;
        appendGb18030(out, p + runStart, i - runStart);
        out.append(char(p[i] - kRawBase));
        runStart = i + 1;
    }
    appendGb18030(out, p + runStart, n - runStart);
    return out;
}

// The text of valid GB18030 bytes; nothing on the first invalid or truncated sequence.
std::optional<QString> decodeGb18030(const QByteArray &bytes) {
    UConverter *conv = gb18030();
    ucnv_resetToUnicode(conv);
    const char *s = bytes.constData();
    const char *const end = s + bytes.size();
    QString out;
    out.reserve(bytes.size());
    UChar buf[2048];
    for (;;) {
        UChar *t = buf;
        UErrorCode err = U_ZERO_ERROR;
        ucnv_toUnicode(conv, &t, buf + std::size(buf), &s, end, nullptr, true, &err);
        out.append(reinterpret_cast<const QChar *>(buf), t - buf);
        if (err == U_BUFFER_OVERFLOW_ERROR)
            continue;
        if (U_FAILURE(err))
            return std::nullopt;
        return out;
    }
}

QString bytesToText(const QByteArray &bytes) {
    if (isAscii(bytes.constData(), bytes.size()))
        return QString::fromLatin1(bytes);

    if (const std::optional<QString> text = decodeGb18030(bytes)) {
        const bool hasRaw = std::any_of(text->cbegin(), text->cend(),
                                        [](QChar c) { return isRawChar(c.unicode()); });
        if (!hasRaw && textToBytes(*text) == bytes)
            return *text;
    }

    QString raw(bytes.size(), Qt::Uninitialized);
    QChar *out = raw.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const uchar b = uchar(bytes[i]);
        out[i] = QChar(b < 0x80 ? char16_t(b) : char16_t(kRawBase + b));
    }
    return raw;
}

// dst[i] ^= src[i] for i in [0, n), eight bytes per step.
void xorBlock(char *__restrict dst, const char *__restrict src, qsizetype n) {
    qsizetype i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t a, b;
        std::memcpy(&a, dst + i, 8);
        std::memcpy(&b, src + i, 8);
        a ^= b;
        std::memcpy(dst + i, &a, 8);
    }
    for (; i < n; ++i)
        dst[i] ^= src[i];
}

QString nativePath(const QString &path) {
    return QDir::toNativeSeparators(path);
}

} // namespace

clsSimpleXOR::clsSimpleXOR(QObject *parent) : QObject(parent) {}

void clsSimpleXOR::setKey(const QString &newValue) {
    if (newValue == m_Key)
        return;
    m_Key = newValue;
    m_KeyLen = int(newValue.size());
    m_KeyBytes = textToBytes(newValue);
    m_Pattern.clear();
    if (m_KeyLen == 0)
        return;

    // Two periods of the key, each period a whole number of keys and at least a few kilobytes for
    // short keys, so that a run starting at any key phase reads its key bytes contiguously.
    // Every character gives at least one byte, so m_KeyBytes holds m_KeyLen bytes or more.
    const qsizetype reps = std::clamp(4096 / m_KeyLen, 1, 64);
    const QByteArray key = m_KeyBytes.left(m_KeyLen);
    m_Pattern = key.repeated(2 * reps);
}

void clsSimpleXOR::DecryptByte(QByteArray &ByteArray, const QString &Key) {
    EncryptByte(ByteArray, Key);
}

void clsSimpleXOR::EncryptByte(QByteArray &ByteArray, const QString &Key) {
    if (!Key.isEmpty())
        setKey(Key);
    if (m_KeyLen == 0)
        throw XorError(ErrNoKey,
                       QStringLiteral("No scrambling key: the key is empty and none was set "
                                      "before."));

    // Local copies keep the run consistent even if a Progress receiver changes the key.
    const QByteArray pattern = m_Pattern;
    const qsizetype keyLen = m_KeyLen;
    const qsizetype period = pattern.size() / 2;

    const qsizetype n = ByteArray.size();
    char *const data = n > 0 ? ByteArray.data() : nullptr;
    qint64 next = 0;
    int percent = 0;
    qsizetype i = 0;
    while (i < n) {
        // Progress is checked after the byte at index max(next, i); everything up to it is one
        // run without checks.
        const qsizetype last = std::min<qint64>(n - 1, std::max<qint64>(next, i));
        char *p = data + i;
        const char *key = pattern.constData() + i % keyLen;
        for (qsizetype left = last + 1 - i; left > 0;) {
            const qsizetype len = std::min(left, period); // period keeps the key phase
            xorBlock(p, key, len);
            p += len;
            left -= len;
        }
        if (last >= next) {
            percent = int(std::floor(double(last) / double(n) * 100));
            next = qint64(std::nearbyint((percent + 1) / 100.0 * double(n) + 1));
            emit Progress(percent);
        }
        i = last + 1;
    }
    if (percent != 100)
        emit Progress(100);
}

QString clsSimpleXOR::EncryptString(const QString &Text, const QString &Key) {
    QByteArray bytes = textToBytes(Text);
    EncryptByte(bytes, Key);
    return bytesToText(bytes);
}

QString clsSimpleXOR::DecryptString(const QString &Text, const QString &Key) {
    QByteArray bytes = textToBytes(Text);
    DecryptByte(bytes, Key);
    return bytesToText(bytes);
}

void clsSimpleXOR::EncryptFile(const QString &SourceFile, const QString &DestFile,
                               const QString &Key) {
    xorFile(SourceFile, DestFile, Key, true);
}

void clsSimpleXOR::DecryptFile(const QString &SourceFile, const QString &DestFile,
                               const QString &Key) {
    xorFile(SourceFile, DestFile, Key, false);
}

void clsSimpleXOR::xorFile(const QString &source, const QString &dest, const QString &key,
                           bool encrypt) {
    const QFileInfo info(source);
    if (!info.exists() || !info.isFile())
        throw XorError(ErrSourceMissing,
                       encrypt ? QStringLiteral("Error in Skipjack EncryptFile procedure (Source "
                                                "file does not exist).")
                               : QStringLiteral("Error in Skipjack DecryptFile procedure (Source "
                                                "file does not exist)."));

    QByteArray data;
    {
        QFile in(source);
        if (!in.open(QIODevice::ReadOnly))
            throw XorError(ErrIo, QStringLiteral("Cannot open %1 for reading: %2")
                                      .arg(nativePath(source), in.errorString()));
        data = in.readAll();
        if (in.error() != QFileDevice::NoError)
            throw XorError(
                ErrIo,
                QStringLiteral("Cannot read %1: %2").arg(nativePath(source), in.errorString()));
    }
    if (data.isEmpty())
        throw XorError(
            ErrEmptyFile,
            QStringLiteral("Cannot scramble %1: the file is empty.").arg(nativePath(source)));

    if (encrypt)
        EncryptByte(data, key);
    else
        DecryptByte(data, key);

    // The new content goes to a temporary file beside the destination, which replaces the
    // destination only once it is complete on disk: a failure keeps the old file, also in place.
    // The temporary file's name is the one the next start looks for and removes, should the
    // process be killed before the rename.
    try {
        atomicfile::write(dest, data);
    } catch (const std::runtime_error &error) {
        throw XorError(ErrIo, QStringLiteral("Cannot replace %1: %2")
                                  .arg(nativePath(dest), QString::fromUtf8(error.what())));
    }
}
