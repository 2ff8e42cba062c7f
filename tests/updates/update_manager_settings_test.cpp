// Reading the update manager's dates: German notation whatever the user's
// regional settings, and the local clock in whole seconds.
#include "updates/ole_date.h"
#include "updates/update_manager_settings.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(UpdateManagerDates, GermanNotationsParse)
{
    struct Row {
        const char* text;
        int year, month, day, hour, minute, second;
    } rows[] = {
        {"01.03.2024", 2024, 3, 1, 0, 0, 0},
        {"1.3.2024", 2024, 3, 1, 0, 0, 0},
        {"29.02.2024 23:59", 2024, 2, 29, 23, 59, 0},
        {"15.11.2023 08:05:09", 2023, 11, 15, 8, 5, 9},
        {"31.12.1899 12:00:00", 1899, 12, 31, 12, 0, 0},
    };
    for (const Row& row : rows) {
        double parsed = -1;
        ASSERT_TRUE(nv::ParseGermanOleDate(row.text, &parsed)) << row.text;
        double expected = nv::OleDateFromCalendar(row.year, row.month, row.day, row.hour,
                                                  row.minute, row.second);
        EXPECT_NEAR(expected, parsed, nv::kOleHalfSecond) << row.text;
    }
}

TEST(UpdateManagerDates, TextsThatAreNoDateAreRefused)
{
    for (const char* text : {"", "kein Datum", "gestern", "32.13.2024 25:61"}) {
        double parsed = 12345.0;
        EXPECT_FALSE(nv::ParseGermanOleDate(text, &parsed)) << "'" << text << "'";
        EXPECT_EQ(12345.0, parsed) << "'" << text << "'";
    }
}

TEST(UpdateManagerDates, NowIsTheLocalClockInWholeSeconds)
{
    SYSTEMTIME before;
    GetLocalTime(&before);
    const double now = nv::LocalNowOleDate();
    SYSTEMTIME after;
    GetLocalTime(&after);
    const double low = nv::OleDateFromCalendar(before.wYear, before.wMonth, before.wDay,
                                               before.wHour, before.wMinute, before.wSecond);
    const double high = nv::OleDateFromCalendar(after.wYear, after.wMonth, after.wDay,
                                                after.wHour, after.wMinute, after.wSecond);
    EXPECT_GE(now, low - nv::kOleHalfSecond);
    EXPECT_LE(now, high + nv::kOleHalfSecond);
    const double seconds = (now - std::floor(now)) * 86400.0;
    EXPECT_NEAR(std::round(seconds), seconds, 1e-3);
}

TEST(UpdateManagerDates, ConfigFileLiesBelowTheAllUsersFolder)
{
    char folder[MAX_PATH] = "";
    ASSERT_NE(0u, ExpandEnvironmentStringsA("%ProgramData%", folder, MAX_PATH));
    const std::string path = nv::UpdateManagerConfigPath();
    EXPECT_EQ(std::string(folder) + "\\Norvane\\Update Manager\\Daten\\updatemanager-config.xml",
              path);
}

} // namespace
