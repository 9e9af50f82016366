#include "settings/ShortcutText.h"

#include <QStringList>
#include <cmath>

namespace {

QString prefixOf(int mask) {
    switch (mask) {
    case 1:
        return QStringLiteral("Shift + ");
    case 2:
        return QStringLiteral("Ctrl + ");
    case 3:
        return QStringLiteral("Shift + Ctrl + ");
    case 4:
        return QStringLiteral("Alt + ");
    case 5:
        return QStringLiteral("Shift + Alt + ");
    case 6:
        return QStringLiteral("Ctrl + Alt + ");
    case 7:
        return QStringLiteral("Shift + Ctrl + Alt + ");
    default:
        return {};
    }
}

QString keyName(int code) {
    if (code >= 65 && code <= 90)
        return QString(QChar(code));
    if (code >= 112 && code <= 123)
        return QStringLiteral("F%1").arg(code - 111);
    if (code >= 96 && code <= 105)
        return QStringLiteral("Num %1").arg(code - 96);
    if (code >= 48 && code <= 57)
        return QStringLiteral("Num %1").arg(code - 48);
    switch (code) {
    case 37:
        return QStringLiteral("←");
    case 38:
        return QStringLiteral("↑");
    case 39:
        return QStringLiteral("→");
    case 40:
        return QStringLiteral("↓");
    default:
        return {};
    }
}

int numberOf(const QString &text) {
    return int(std::lround(text.trimmed().toDouble()));
}

} // namespace

int ShortcutCapture::ShiftState = 0;

QString GetShortcutName(const QString &shortcut) {
    if (shortcut.isEmpty())
        return {};
    const QStringList parts = shortcut.split(QLatin1Char('|'));
    if (parts.size() < 2)
        return {}; // no key part: nothing to show
    return prefixOf(numberOf(parts[0])) + keyName(numberOf(parts[1]));
}

void ShortcutCapture::load(const QString &stored) {
    m_tag = stored;
    m_text = GetShortcutName(stored);
}

void ShortcutCapture::keyDown(int keyCode, int mask) {
    switch (mask) {
    case 1:
        ShiftState = m_bossKey ? 1 : 0;
        m_text = m_bossKey ? QStringLiteral("Shift + ") : QString();
        break;
    case 2:
        ShiftState = 2;
        m_text = QStringLiteral("Ctrl + ");
        break;
    case 4:
        ShiftState = 4;
        m_text = QStringLiteral("Alt + ");
        break;
    default:
        ShiftState = 0;
        m_text.clear();
        break;
    }
    m_text += keyName(keyCode);
    m_tag = QStringLiteral("%1|%2").arg(ShiftState).arg(keyCode);
}

void ShortcutCapture::keyUp() {
    if (m_text.trimmed().endsWith(QLatin1Char('+')) || ShiftState == 0) {
        m_text.clear();
        m_tag.clear();
    }
}
