#include "core/PasswordStrength.h"

namespace {

// Character classes work on ASCII codes only; any other character (Chinese, accented letters)
// counts towards the length but belongs to no class.
bool isLetter(char32_t c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool isDigit(char32_t c) {
    return c >= '0' && c <= '9';
}
bool isSymbol(char32_t c) {
    return (c >= ' ' && c <= '/') || (c >= ':' && c <= '@');
}

} // namespace

int GetPasswordStrength(const QString &text) {
    bool letter = false, digit = false, symbol = false;
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size(); ++i, ++n) {
        const char16_t c = text.at(i).unicode();
        letter = letter || isLetter(c);
        digit = digit || isDigit(c);
        symbol = symbol || isSymbol(c);
        // A character beyond the BMP is one character although it takes two UTF-16 units.
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
    }

    int level = int(letter) + int(digit) + int(symbol);
    if (n < 6)
        level = 1;
    else if (n > 15)
        level = 3;
    else if (n >= 10 && level == 1)
        level = 2;
    return level;
}
