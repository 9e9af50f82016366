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

// Han-Latin gives toned syllables ("zhāo", "lǚ"); syllableOf() folds them to the letters
// people type.
UTransliterator *hanToLatin() {
    thread_local std::unique_ptr<UTransliterator, TransliteratorCloser> transliterator = [] {
        static const char16_t id[] = u"Han-Latin";
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
    // Tone marks go; ü is typed as "v" on pinyin keyboards.
    const QString toned = QString::fromUtf16(reinterpret_cast<const char16_t *>(buffer), length)
                              .normalized(QString::NormalizationForm_D)
                              .toLower();
    QString syllable;
    for (qsizetype i = 0; i < toned.size(); ++i) {
        const char16_t c = toned.at(i).unicode();
        if (c == u'u' && i + 1 < toned.size() && toned.at(i + 1).unicode() == 0x0308)
            syllable += QLatin1Char('v');
        else if (c >= u'a' && c <= u'z')
            syllable += QChar(c);
    }
    return syllable;
}

// Words whose characters read differently from their most common reading, which is all that
// ICU gives for a single character: 行 is "xing" alone but "hang" in 银行.
struct Word {
    const char16_t *text;
    const char *syllables[2];
};
constexpr Word kWords[] = {
    {u"银行", {"yin", "hang"}},   {u"分行", {"fen", "hang"}},    {u"支行", {"zhi", "hang"}},
    {u"总行", {"zong", "hang"}},  {u"商行", {"shang", "hang"}},  {u"招行", {"zhao", "hang"}},
    {u"工行", {"gong", "hang"}},  {u"建行", {"jian", "hang"}},   {u"农行", {"nong", "hang"}},
    {u"中行", {"zhong", "hang"}}, {u"交行", {"jiao", "hang"}},   {u"行业", {"hang", "ye"}},
    {u"重庆", {"chong", "qing"}}, {u"长沙", {"chang", "sha"}},   {u"长城", {"chang", "cheng"}},
    {u"长安", {"chang", "an"}},   {u"长江", {"chang", "jiang"}}, {u"音乐", {"yin", "yue"}},
    {u"厦门", {"xia", "men"}},    {u"还款", {"huan", "kuan"}},   {u"还贷", {"huan", "dai"}},
    {u"朝阳", {"chao", "yang"}},  {u"蚌埠", {"beng", "bu"}},     {u"番禺", {"pan", "yu"}},
};

const Word *wordAt(const QString &name, qsizetype i) {
    for (const Word &word : kWords)
        if (QStringView(name).mid(i, 2) == QStringView(word.text))
            return &word;
    return nullptr;
}

} // namespace

SearchKeys searchKeysFor(const QString &name) {
    SearchKeys keys;
    for (qsizetype i = 0; i < name.size();) {
        if (const Word *word = wordAt(name, i)) {
            for (const char *syllable : word->syllables) {
                keys.pinyin += QLatin1String(syllable);
                keys.initials += QLatin1Char(syllable[0]);
            }
            i += 2;
            continue;
        }
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
