#pragma once

#include <QString>

// Numbers as the settings boxes read them.
// Whether the whole text (blanks around it aside) reads as a number: signs, decimals and
// exponents are fine, "-" alone or "1a" are not.
bool isNumeric(const QString &text);
// The number at the start of the text, 0 when there is none: "-3abc" gives -3, "abc" 0.
double leadingNumber(const QString &text);
// The shortest text that reads back as exactly `value` ("0.1", "1234567", "1e-07"), so that a
// box shows a stored number with every digit it has and saving it again changes nothing.
QString numberText(double value);
