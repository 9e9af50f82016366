#pragma once

#include <QString>

// Strength level of a password: 0 (no rating, the meter keeps what it shows), 1 weak,
// 2 medium, 3 strong.
int GetPasswordStrength(const QString &text);
