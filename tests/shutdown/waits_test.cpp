// The bounded waits of closing applications.
#include "shutdown/app_windows.h"
#include "shutdown/close_methods.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(SecondsToTimeout, SaturatesBelowInfinite)
{
    struct Row {
        const char* name;
        unsigned long long seconds;
        DWORD ms;
    } rows[] = {
        {"none", 0, 0},
        {"thirty", 30, 30000},
        {"largest exact", 4294967, 4294967000u},
        {"one more", 4294968, INFINITE - 1},
        {"ten digits", 9999999999ULL, INFINITE - 1},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.ms, nv::SecondsToTimeout(row.seconds)) << row.name;
}

TEST(WaitForWindowTitleGone, EndsWhenTheTitleIsGoneOrTheTimeIsUp)
{
    const std::string title = "nvwait-" + std::to_string(GetCurrentProcessId());
    DWORD start = GetTickCount();
    nv::WaitForWindowTitleGone(5, title);
    EXPECT_LT(GetTickCount() - start, 500u) << "no window with the title";

    HWND window = CreateWindowExA(0, "STATIC", title.c_str(), WS_POPUP, 0, 0, 10, 10, nullptr,
                                  nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    start = GetTickCount();
    nv::WaitForWindowTitleGone(2, title);
    DWORD elapsed = GetTickCount() - start;
    DestroyWindow(window);
    // Whole seconds: the deadline lies between one and two seconds ahead.
    EXPECT_GE(elapsed, 900u);
    EXPECT_LT(elapsed, 2600u);
}

} // namespace
