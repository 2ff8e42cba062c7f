// Day counts between OLE dates as the update manager's callers have always
// seen them (rounded to the second, truncated toward zero), and its date notation.
#include "updates/ole_date.h"
#include "updates/update_manager_settings.h"

#include <gtest/gtest.h>

namespace {

double Date(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    return nv::OleDateFromCalendar(year, month, day, hour, minute, second);
}

TEST(OleDate, WholeDaysCountBothTimesOfDayAndTruncateTowardZero)
{
    const double half = nv::kOleHalfSecond;
    const struct {
        const char* name;
        double last, now;
        int expected;
    } rows[] = {
        {"one second short of a day", Date(2024, 3, 1, 8), Date(2024, 3, 2, 7, 59, 59), 0},
        {"across the leap day", Date(2024, 2, 28, 12), Date(2024, 3, 1, 12), 2},
        {"across the epoch", Date(1899, 12, 29, 18), Date(1899, 12, 30, 12), 0},
        {"less than half a second short of a day", 45000.0, 45001.0 - half / 2, 1},
        {"more than half a second short of a day", 45000.0, 45001.0 - 3 * half, 0},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.expected, nv::WholeDaysBetween(row.last, row.now)) << row.name;
}

TEST(OleDate, GermanNotationWhateverTheRegionalSettings)
{
    const struct {
        const char* text;
        double expected; // 0: refused
    } rows[] = {
        {"1.3.2024", Date(2024, 3, 1)},
        {"29.02.2024 23:59", Date(2024, 2, 29, 23, 59)},
        {"15.11.2023 08:05:09", Date(2023, 11, 15, 8, 5, 9)},
        {"", 0},
        {"32.13.2024 25:61", 0},
    };
    for (const auto& row : rows) {
        double parsed = 0;
        EXPECT_EQ(row.expected != 0, nv::ParseGermanOleDate(row.text, &parsed)) << row.text;
        EXPECT_NEAR(row.expected, parsed, nv::kOleHalfSecond) << row.text;
    }
}

} // namespace
