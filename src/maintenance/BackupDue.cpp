#include "maintenance/BackupDue.h"

bool isBackupDue(double everyDays, const QDate &prior, const QDate &today) {
    if (everyDays == 0)
        return false;
    if (!prior.isValid())
        return true;
    return double(prior.daysTo(today)) >= everyDays;
}
