#include "maintenance/BackupDue.h"

#include <gtest/gtest.h>

namespace {

struct DueCase {
    const char *name;
    double everyDays;
    int daysAgo; // of the last backup; INT_MIN: none recorded
    bool due;
};

class BackupDue : public testing::TestWithParam<DueCase> {};

TEST_P(BackupDue, FollowsTheCalendarDays) {
    const DueCase &c = GetParam();
    const QDate today(2026, 12, 11);
    const QDate prior = c.daysAgo == INT_MIN ? QDate() : today.addDays(-c.daysAgo);
    EXPECT_EQ(isBackupDue(c.everyDays, prior, today), c.due);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BackupDue,
    testing::Values(DueCase{"NeverEvenAfterTenYears", 0, 3650, false},
                    DueCase{"WeeklyOnTheSeventhDay", 7, 7, true},
                    DueCase{"WeeklyOnTheSixthDay", 7, 6, false}, DueCase{"DailyToday", 1, 0, false},
                    DueCase{"DailyYesterday", 1, 1, true},
                    // A typed 1.5 waits for the second whole day.
                    DueCase{"DayAndAHalfAfterOneDay", 1.5, 1, false},
                    DueCase{"DayAndAHalfAfterTwoDays", 1.5, 2, true},
                    DueCase{"NoLastBackupRecorded", 7, INT_MIN, true},
                    // A last date in the future (a clock set back) counts from that date.
                    DueCase{"LastBackupInTheFuture", 7, -8, false},
                    // Negative days in the settings are not a way to switch it off.
                    DueCase{"NegativeSettingToday", -1, 0, true}),
    [](const testing::TestParamInfo<DueCase> &info) { return std::string(info.param.name); });

} // namespace
