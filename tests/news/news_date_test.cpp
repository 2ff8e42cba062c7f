// Dates of news items: parsing with the user's regional settings (the test
// prefix runs with German ones), the continuous comparison and the override
// key's check number.
#include "news/news_current_date.h"
#include "news/news_date.h"
#include "harness/registry_sandbox.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

DATE DateOf(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0, WORD second = 0)
{
    SYSTEMTIME time = {};
    time.wYear = year;
    time.wMonth = month;
    time.wDay = day;
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    DATE value = 0;
    EXPECT_TRUE(SystemTimeToVariantTime(&time, &value));
    return value;
}

NewsDate Valid(DATE value)
{
    NewsDate date;
    date.value = value;
    date.valid = true;
    return date;
}

TEST(NewsDate, ParsesWithTheUsersRegionalSettings)
{
    struct Row {
        const char* name;
        const char* text;
        bool valid;
        DATE expected;
    } rows[] = {
        {"date alone is midnight", "31.12.2026", true, DateOf(2026, 12, 31)},
        {"date and time", "31.12.2026 18:00", true, DateOf(2026, 12, 31, 18)},
        {"date and seconds", "01.03.2027 07:05:09", true, DateOf(2027, 3, 1, 7, 5, 9)},
        {"not a date", "bald", false, 0},
        {"empty", "", false, 0},
    };
    for (const Row& row : rows) {
        NewsDate date = ParseNewsDate(row.text);
        EXPECT_EQ(row.valid, date.valid) << row.name;
        if (row.valid) {
            EXPECT_NEAR(row.expected, date.value, 1e-9) << row.name;
        }
    }
}

TEST(NewsDate, LocalNowIsTheClockInWholeSeconds)
{
    SYSTEMTIME clock;
    GetLocalTime(&clock);
    clock.wMilliseconds = 0;
    DATE expected = 0;
    ASSERT_TRUE(SystemTimeToVariantTime(&clock, &expected));
    NewsDate now = LocalNewsNow();
    ASSERT_TRUE(now.valid);
    EXPECT_NEAR(expected, now.value, 2.0 / 86400);
    double seconds = now.value * 86400;
    EXPECT_NEAR(std::round(seconds), seconds, 1e-3);
}

TEST(NewsDate, ComparesOnTheContinuousScale)
{
    struct Row {
        const char* name;
        DATE date;
        DATE reference;
        bool later;
    } rows[] = {
        {"next day", 46000.0, 45999.0, true},
        {"same moment", 46000.25, 46000.25, false},
        {"one second later", 46000.0 + 1.0 / 86400, 46000.0, true},
        {"earlier time of day", 46000.25, 46000.5, false},
        // 29 Dec 1899 06:00 is stored as -1.25 and lies after 29 Dec 00:00 (-1.0).
        {"morning before the epoch", -1.25, -1.0, true},
        {"evening before the epoch", -1.75, -1.25, true},
        {"previous day before the epoch", -1.75, -0.25, false},
        // 30 Dec 1899 06:00 (-0.25) follows the epoch's midnight.
        {"day zero morning", -0.25, 0.0, true},
        {"across the epoch", 0.5, -0.75, false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.later, IsLaterDate(Valid(row.date), Valid(row.reference))) << row.name;
}

TEST(NewsDate, AnInvalidDateDisablesTheComparison)
{
    NewsDate invalid = ParseNewsDate("kein Datum");
    EXPECT_FALSE(IsLaterDate(invalid, Valid(46000.0)));
    EXPECT_FALSE(IsLaterDate(Valid(46000.0), invalid));
}

class NewsDateOverride : public ::testing::Test {
protected:
    const std::string kKey = "Software\\Norvane\\NewsBandTest-news";

    NewsDate Read()
    {
        HKEY key = nullptr;
        EXPECT_EQ(ERROR_SUCCESS,
                  RegOpenKeyExA(HKEY_CURRENT_USER, kKey.c_str(), 0, KEY_ALL_ACCESS, &key));
        NewsDate date = ReadNewsDateOverride(key);
        RegCloseKey(key);
        return date;
    }

    static DWORD TodaysCheckNumber()
    {
        SYSTEMTIME clock;
        GetLocalTime(&clock);
        return clock.wDay * 1000 + clock.wMonth * 10 + clock.wDayOfWeek + 1;
    }

    RegistrySandbox m_registry;
};

TEST_F(NewsDateOverride, TodaysCheckNumberSwitchesItOn)
{
    m_registry.SetDword(HKEY_CURRENT_USER, kKey, "IsActive", TodaysCheckNumber());
    m_registry.SetString(HKEY_CURRENT_USER, kKey, "CurrentDate", "24.12.2030 18:00:00");
    NewsDate date = Read();
    ASSERT_TRUE(date.valid);
    EXPECT_NEAR(DateOf(2030, 12, 24, 18), date.value, 1e-9);
}

TEST_F(NewsDateOverride, AnythingElseLeavesItOff)
{
    struct Row {
        const char* name;
        DWORD checkOffset;
        DWORD activeType;
        DWORD dateType;
        const char* date;
    } rows[] = {
        {"check number of another day", 1000, REG_DWORD, REG_SZ, "24.12.2030"},
        {"check number as text", 0, REG_SZ, REG_SZ, "24.12.2030"},
        {"date of another type", 0, REG_DWORD, REG_EXPAND_SZ, "24.12.2030"},
        {"date longer than 19 characters", 0, REG_DWORD, REG_SZ, "24.12.2030 18:00:00 "},
        {"date that does not parse", 0, REG_DWORD, REG_SZ, "Weihnachten"},
    };
    for (const Row& row : rows) {
        DWORD check = TodaysCheckNumber() + row.checkOffset;
        if (row.activeType == REG_DWORD)
            m_registry.SetDword(HKEY_CURRENT_USER, kKey, "IsActive", check);
        else
            m_registry.SetString(HKEY_CURRENT_USER, kKey, "IsActive", std::to_string(check));
        m_registry.SetString(HKEY_CURRENT_USER, kKey, "CurrentDate", row.date, row.dateType);
        EXPECT_FALSE(Read().valid) << row.name;
    }
}

TEST_F(NewsDateOverride, MissingValuesLeaveItOff)
{
    m_registry.CreateKey(HKEY_CURRENT_USER, kKey);
    EXPECT_FALSE(Read().valid);
    m_registry.SetDword(HKEY_CURRENT_USER, kKey, "IsActive", TodaysCheckNumber());
    EXPECT_FALSE(Read().valid);
}

} // namespace
