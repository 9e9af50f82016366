#pragma once

// Account records as a household keeps them: Chinese and Latin service names, a user ID, a
// password, a date, a web address and a remark, spread over the default categories. The same
// seed gives the same records, so measurements can be repeated.

#include "records/RecordStore.h"
#include "storage/Schema.h"

#include <QRandomGenerator>
#include <QString>
#include <iterator>

namespace demo {

inline const char16_t *const kChinese[] = {u"招商银行", u"工商银行", u"支付宝",   u"淘宝",
                                           u"京东",     u"微信",     u"新浪微博", u"网易邮箱",
                                           u"哔哩哔哩", u"百度网盘", u"腾讯视频", u"中国移动",
                                           u"携程旅行", u"知乎",     u"豆瓣"};
inline const char *const kLatin[] = {"GitHub", "Gmail",  "Steam", "Outlook", "Dropbox",
                                     "Amazon", "PayPal", "Apple", "Reddit",  "Wikipedia"};

// Record number `i` of a run seeded by `random`.
inline RecordInput record(QRandomGenerator &random, int i) {
    static const QStringList categories = schema::defaultCategories();
    const bool chinese = random.bounded(2) == 0;
    const QString base =
        chinese ? QString::fromUtf16(kChinese[random.bounded(int(std::size(kChinese)))])
                : QString::fromLatin1(kLatin[random.bounded(int(std::size(kLatin)))]);
    return {categories[random.bounded(categories.size())],
            base + QString::number(i),
            QStringLiteral("user%1@example.com").arg(i),
            QStringLiteral("pw-%1-%2").arg(i).arg(random.generate()),
            QStringLiteral("2020-01-%1").arg(1 + i % 28, 2, 10, QLatin1Char('0')),
            QStringLiteral("https://www.example%1.com/login").arg(i % 500),
            QStringLiteral("备注 %1").arg(i)};
}

} // namespace demo
