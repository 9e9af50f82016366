#pragma once

#include <QString>

// Pinyin search keys of an account name, from ICU's Han-Latin transliteration: every Chinese
// character gives its full syllable and its initial letter; every other character stands for
// itself. Both keys are lower case, without tone marks or spaces.
struct SearchKeys {
    QString pinyin;   // 招商银行 → "zhaoshangyinhang"
    QString initials; // 招商银行 → "zsyh"
};

SearchKeys searchKeysFor(const QString &name);

// One pinyin initial per character of `text`, as the AccountPY column keeps them.
QString GetAccountPY(const QString &text);
