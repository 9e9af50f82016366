#include "core/SearchKeys.h"

#include "core/PinYin.h"

#include <QStringView>
#include <algorithm>
#include <memory>
#include <unicode/utrans.h>

namespace {

struct TransliteratorCloser {
    void operator()(UTransliterator *t) const { utrans_close(t); }
};

// Han-Latin gives toned syllables ("zhāo"); Latin-ASCII drops the tone marks.
UTransliterator *hanToLatin() {
    thread_local std::unique_ptr<UTransliterator, TransliteratorCloser> transliterator = [] {
        static const char16_t id[] = u"Han-Latin; Latin-ASCII";
        UErrorCode error = U_ZERO_ERROR;
        UParseError parseError;
        UTransliterator *t = utrans_openU(reinterpret_cast<const UChar *>(id), -1, UTRANS_FORWARD,
                                          nullptr, 0, &parseError, &error);
        return std::unique_ptr<UTransliterator, TransliteratorCloser>(U_SUCCESS(error) ? t
                                                                                       : nullptr);
    }();
    return transliterator.get();
}

// The lower-case ASCII letters of the syllable ICU gives one Chinese character.
QString syllableOf(QStringView character) {
    UTransliterator *transliterator = hanToLatin();
    if (!transliterator)
        return {};
    UChar buffer[32];
    int32_t length = int32_t(character.size());
    std::copy(character.utf16(), character.utf16() + length, buffer);
    int32_t limit = length;
    UErrorCode error = U_ZERO_ERROR;
    utrans_transUChars(transliterator, buffer, &length, int32_t(std::size(buffer)), 0, &limit,
                       &error);
    if (U_FAILURE(error))
        return {};
    QString syllable;
    for (int32_t i = 0; i < length; ++i) {
        const char16_t c = buffer[i];
        if (c >= u'a' && c <= u'z')
            syllable += QChar(c);
        else if (c >= u'A' && c <= u'Z')
            syllable += QChar(char16_t(c - u'A' + u'a'));
    }
    return syllable;
}

} // namespace

SearchKeys searchKeysFor(const QString &name) {
    SearchKeys keys;
    for (qsizetype i = 0; i < name.size();) {
        const char32_t codePoint = name.at(i).isHighSurrogate() && i + 1 < name.size()
                                       ? QChar::surrogateToUcs4(name.at(i), name.at(i + 1))
                                       : name.at(i).unicode();
        const qsizetype units = codePoint > 0xFFFF ? 2 : 1;
        const QStringView character = QStringView(name).mid(i, units);
        const QString syllable =
            QChar::script(codePoint) == QChar::Script_Han ? syllableOf(character) : QString();
        if (!syllable.isEmpty()) {
            keys.pinyin += syllable;
            keys.initials += syllable.front();
        } else {
            const QString same = character.toString().toLower();
            keys.pinyin += same;
            keys.initials += same;
        }
        i += units;
    }
    return keys;
}

QString GetAccountPY(const QString &text) {
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i)
        result += GetPYInitial(QString(text.at(i)));
    return result;
}
