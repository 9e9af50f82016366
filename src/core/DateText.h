#pragma once

#include <QDate>
#include <QString>
#include <optional>

// A date as people type it: 2011-3-5, 2011/03/05, 2011.3.5, 2011年3月5日, 20110305. Nothing for
// text that is no date or names a day that does not exist.
std::optional<QDate> parseUserDate(const QString &text);

// The stored form, "yyyy-mm-dd".
QString storedDate(const QDate &date);
