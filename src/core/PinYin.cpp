#include "core/PinYin.h"

#include <unicode/ucnv.h>

#include <array>
#include <memory>

namespace {

struct ConverterCloser {
    void operator()(UConverter *c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

// Code page 936 as Windows has it (GBK plus the euro sign at 0x80). Opened once per thread: the
// record list asks for the initial of every record name. Unmappable characters stop the
// conversion instead of becoming "?", which would look like an ASCII character.
UConverter *cp936() {
    thread_local ConverterPtr conv = [] {
        UErrorCode err = U_ZERO_ERROR;
        ConverterPtr c(ucnv_open("GBK", &err));
        if (U_FAILURE(err))
            return ConverterPtr();
        ucnv_setFromUCallBack(c.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &err);
        if (U_FAILURE(err))
            return ConverterPtr();
        return c;
    }();
    return conv.get();
}

// Code page 936 bytes of one character (a surrogate pair counts as one); empty when the code
// page has no such character.
QByteArray toCp936(const QChar *ch, int units) {
    UConverter *conv = cp936();
    if (!conv)
        return {};
    char out[8];
    UErrorCode err = U_ZERO_ERROR;
    const int n =
        ucnv_fromUChars(conv, out, sizeof out, reinterpret_cast<const UChar *>(ch), units, &err);
    if (U_FAILURE(err) || n <= 0)
        return {};
    return QByteArray(out, n);
}

struct Boundary {
    unsigned code; // first code of the range, lead byte * 256 + trail byte
    char initial;
};

// First-level GB2312 characters are ordered by pinyin; each entry is the first character of an
// initial: 啊 芭 擦 搭 蛾 发 噶 哈 击 喀 垃 妈 拿 哦 啪 期 然 撒 塌 挖 昔 压 匝. No syllable starts
// with I, U or V.
constexpr std::array<Boundary, 23> kBoundaries{{
    {0xB0A1, 'A'}, {0xB0C5, 'B'}, {0xB2C1, 'C'}, {0xB4EE, 'D'}, {0xB6EA, 'E'}, {0xB7A2, 'F'},
    {0xB8C1, 'G'}, {0xB9FE, 'H'}, {0xBBF7, 'J'}, {0xBFA6, 'K'}, {0xC0AC, 'L'}, {0xC2E8, 'M'},
    {0xC4C3, 'N'}, {0xC5B6, 'O'}, {0xC5BE, 'P'}, {0xC6DA, 'Q'}, {0xC8BB, 'R'}, {0xC8F6, 'S'},
    {0xCBFA, 'T'}, {0xCDDA, 'W'}, {0xCEF4, 'X'}, {0xD1B9, 'Y'}, {0xD4D1, 'Z'},
}};

} // namespace

QString GetPYInitial(const QString &text) {
    if (text.isEmpty())
        return QStringLiteral("0");

    const QChar first = text.at(0);
    const int units =
        (first.isHighSurrogate() && text.size() > 1 && text.at(1).isLowSurrogate()) ? 2 : 1;
    const QByteArray bytes = first.unicode() < 0x80 ? QByteArray(1, char(first.unicode()))
                                                    : toCp936(text.constData(), units);

    if (bytes.size() == 1) {
        // Whole-string comparison: "ab" gives "A", but "Zebra" sorts above "Z" and comes back
        // unchanged. The program passes single characters, for which this is the plain rule.
        const QString upper = text.toUpper();
        if (upper >= QLatin1String("A") && upper <= QLatin1String("Z"))
            return QString(first).toUpper();
        return text;
    }
    if (bytes.size() != 2)
        return QStringLiteral("0");

    const unsigned code = unsigned(uchar(bytes[0])) << 8 | uchar(bytes[1]);
    char initial = '0';
    for (const Boundary &b : kBoundaries) {
        if (code < b.code)
            break;
        initial = b.initial;
    }
    return QString(QLatin1Char(initial));
}
