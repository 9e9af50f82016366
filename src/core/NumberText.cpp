#include "core/NumberText.h"

#include <QRegularExpression>
#include <charconv>

namespace {
const QRegularExpression &numberPattern() {
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?"));
    return pattern;
}
} // namespace

bool isNumeric(const QString &text) {
    const QRegularExpressionMatch match = numberPattern().match(text);
    return match.hasMatch() && text.mid(match.capturedLength()).trimmed().isEmpty();
}

double leadingNumber(const QString &text) {
    const QRegularExpressionMatch match = numberPattern().match(text);
    return match.hasMatch() ? match.captured(0).trimmed().toDouble() : 0.0;
}

QString numberText(double value) {
    char digits[32]; // the longest shortest form of a double has 24 characters
    const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, value);
    return QString::fromLatin1(digits, end.ptr - digits);
}
