#include "core/DateText.h"

#include <QRegularExpression>

std::optional<QDate> parseUserDate(const QString &text) {
    static const QRegularExpression separated(QStringLiteral(
        "^\\s*(\\d{4})\\s*[-/.年]\\s*(\\d{1,2})\\s*[-/.月]\\s*(\\d{1,2})\\s*日?\\s*$"));
    static const QRegularExpression compact(QStringLiteral("^\\s*(\\d{4})(\\d{2})(\\d{2})\\s*$"));
    QRegularExpressionMatch match = separated.match(text);
    if (!match.hasMatch())
        match = compact.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QDate date(match.captured(1).toInt(), match.captured(2).toInt(),
                     match.captured(3).toInt());
    if (!date.isValid())
        return std::nullopt;
    return date;
}

QString storedDate(const QDate &date) {
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}
