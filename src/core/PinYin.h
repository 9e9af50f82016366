#pragma once

#include <QString>

// Pinyin initial of the first character of `text`, the building block of the quick-search
// column AccountPY. ASCII letters come back as capitals, other single-byte characters unchanged,
// first-level GB2312 Chinese characters as the capital of their pinyin initial, every other
// double-byte character of code page 936 as "0" or "Z" by its position in the code page.
QString GetPYInitial(const QString &text);
