// Day counts between OLE dates, the rounding and truncation the update
// manager's callers have always seen.
#include "updates/ole_date.h"

#include <gtest/gtest.h>

namespace {

struct Moment {
    int year, month, day, hour, minute, second;
};

double Date(const Moment& m)
{
    return nv::OleDateFromCalendar(m.year, m.month, m.day, m.hour, m.minute, m.second);
}

TEST(OleDate, CalendarMomentsMatchTheAutomationEpoch)
{
    struct Row {
        const char* name;
        Moment moment;
        double expected;
    } rows[] = {
        {"epoch", {1899, 12, 30, 0, 0, 0}, 0.0},
        {"epoch noon", {1899, 12, 30, 12, 0, 0}, 0.5},
        {"first of 1900", {1900, 1, 1, 0, 0, 0}, 2.0},
        {"after the 1900 non-leap day", {1900, 3, 1, 0, 0, 0}, 61.0},
        {"leap day 2024", {2024, 2, 29, 0, 0, 0}, 45351.0},
        {"1 March 2024 18:00", {2024, 3, 1, 18, 0, 0}, 45352.75},
        {"day before epoch, 06:00", {1899, 12, 29, 6, 0, 0}, -1.25},
        {"last second of 9999", {9999, 12, 31, 23, 59, 59}, 2958465.0 + 86399.0 / 86400.0},
        {"year 100", {100, 1, 1, 0, 0, 0}, -657434.0},
    };
    for (const Row& row : rows)
        EXPECT_DOUBLE_EQ(row.expected, Date(row.moment)) << row.name;
}

TEST(OleDate, WholeDaysCountBothTimesOfDayAndTruncateTowardZero)
{
    struct Row {
        const char* name;
        Moment last;
        Moment now;
        int expected;
    } rows[] = {
        {"next day 23:59", {2024, 3, 1, 0, 0, 0}, {2024, 3, 2, 23, 59, 0}, 1},
        {"next day midnight", {2024, 3, 1, 0, 0, 0}, {2024, 3, 2, 0, 0, 0}, 1},
        {"same day 23:59", {2024, 3, 1, 0, 0, 0}, {2024, 3, 1, 23, 59, 0}, 0},
        {"same moment", {2024, 3, 1, 8, 0, 0}, {2024, 3, 1, 8, 0, 0}, 0},
        {"one second short of a day", {2024, 3, 1, 8, 0, 0}, {2024, 3, 2, 7, 59, 59}, 0},
        {"time of day counts", {2024, 3, 1, 20, 0, 0}, {2024, 3, 3, 10, 0, 0}, 1},
        {"across the leap day", {2024, 2, 28, 12, 0, 0}, {2024, 3, 1, 12, 0, 0}, 2},
        {"14 hours ahead", {2024, 3, 2, 14, 0, 0}, {2024, 3, 2, 0, 0, 0}, 0},
        {"36 hours ahead", {2024, 3, 3, 12, 0, 0}, {2024, 3, 2, 0, 0, 0}, -1},
        {"exactly one day ahead", {2024, 3, 3, 0, 0, 0}, {2024, 3, 2, 0, 0, 0}, -1},
        {"a year", {2023, 3, 1, 0, 0, 0}, {2024, 3, 1, 0, 0, 0}, 366},
        {"from before the epoch", {1899, 12, 29, 18, 0, 0}, {1899, 12, 30, 12, 0, 0}, 0},
        {"across the epoch, a whole day", {1899, 12, 29, 6, 0, 0}, {1899, 12, 30, 6, 0, 0}, 1},
        {"two days before the epoch", {1899, 12, 28, 0, 0, 0}, {1899, 12, 30, 0, 0, 0}, 2},
        {"four centuries", {1600, 1, 1, 0, 0, 0}, {2000, 1, 1, 0, 0, 0}, 146097},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, nv::WholeDaysBetween(Date(row.last), Date(row.now))) << row.name;
}

TEST(OleDate, HalfASecondShortOfADayRoundsUp)
{
    const double last = Date({2024, 3, 1, 0, 0, 0});
    EXPECT_EQ(1, nv::WholeDaysBetween(last, last + 1.0 - nv::kOleHalfSecond / 2));
    EXPECT_EQ(0, nv::WholeDaysBetween(last, last + 1.0 - 3 * nv::kOleHalfSecond));
    EXPECT_EQ(-1, nv::WholeDaysBetween(last, last - 1.0 + nv::kOleHalfSecond / 2));
}

} // namespace
