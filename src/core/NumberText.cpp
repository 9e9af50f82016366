#include "core/NumberText.h"

#include <QRegularExpression>

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
