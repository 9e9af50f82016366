#pragma once

#include <QDate>

// Whether the automatic backup is due today: `everyDays` whole calendar days (the user's
// setting, 0 for never) have passed since the last one. A missing last date makes it due; a
// last date in the future makes it wait until the days have passed from that date.
bool isBackupDue(double everyDays, const QDate &prior, const QDate &today);
